// Slots the window connects whose behaviour it does not have so far.
#include "form/CrdForm.h"

void CrdForm::OnStartBtnClicked() {}
void CrdForm::OnStopBtnClicked() {}
void CrdForm::OnLoadFileDataBtnClicked(short) {}
void CrdForm::OnLoadFileDataBtnClicked()
{
    OnLoadFileDataBtnClicked(1);
}
void CrdForm::OnTimer() {}
void CrdForm::OnPauseBtnClicked() {}
void CrdForm::OnRestartBtnClicked() {}
void CrdForm::OnbtnOpenFileData() {}
void CrdForm::OnbtnIlcOpenFileData() {}
