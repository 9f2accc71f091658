#include "crd/CrdInit.h"

#include "controller/CommandResult.h"

bool InitCrd(const ControllerAddress& at, const CrdPrm& record, bool lookAheadOpen,
             const CrdFormParams& params)
{
    ReportToHost("MQN_SetCrdPrm", MQN_SetCrdPrm(at.core, at.crd, &record));
    if (!lookAheadOpen)
        return true;
    const LookAheadPrmEx lookAhead = BuildLookAheadRecord(params);
    const short setup = MQN_SetupLookAheadCrd(at.core, at.crd, 0);
    ReportToHost("MQN_SetupLookAheadCrd", setup);
    if (setup != 0)
        return false;
    ReportToHost("MQN_SetCrdJerk", MQN_SetCrdJerk(at.core, at.crd, params.Jerk));
    ReportToHost("MQN_SetCrdContourErrorControl",
                 MQN_SetCrdContourErrorControl(at.core, at.crd, params.contourEnable, params.Kp));
    const short init = MQN_InitLookAheadEx(at.core, at.crd, &lookAhead, 0, 0, 0);
    ReportToHost("MQN_InitLookAheadEx", init);
    return init == 0;
}
