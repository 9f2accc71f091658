// Slots the window connects whose behaviour it does not have so far.
#include "form/CrdForm.h"

void CrdForm::OnLoadFileDataBtnClicked(short) {}
void CrdForm::OnLoadFileDataBtnClicked()
{
    OnLoadFileDataBtnClicked(1);
}
void CrdForm::OnbtnOpenFileData() {}
void CrdForm::OnbtnIlcOpenFileData() {}
