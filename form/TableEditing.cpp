// Editing the command table.
#include "form/CrdForm.h"

#include <QComboBox>
#include <QLabel>

void CrdForm::OnCrdDimensionChanged(int index)
{
    for (int axis = 0; axis < axisCount; ++axis) {
        const bool used = axis <= index;
        axisLabels[axis]->setEnabled(used);
        profileCombos[axis]->setEnabled(used);
    }
}
