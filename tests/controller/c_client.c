/* Includes only the controller header: its records and calls as a C program sees them. */
#include "rvAPI.h"

#include <stdio.h>
#include <string.h>

static int failures = 0;

static void expect(int condition, const char* what)
{
    if (!condition) {
        fprintf(stderr, "FAIL: %s\n", what);
        ++failures;
    }
}

int main(void)
{
    short count = 0;
    CrdPrm prm;
    CrdPrm back;
    int32_t space = 0;

    expect(MQN_GetResCount(1, RV_RES_CRD, &count) == 0 && count == 2, "two coordinate systems");

    memset(&prm, 0, sizeof prm);
    prm.dimension = 2;
    prm.profile[0] = 1;
    prm.profile[1] = 2;
    prm.synVelMax = 1000;
    prm.synAccMax = 10;
    expect(MQN_SetCrdPrm(1, 1, &prm) == 0, "parameters stored");
    expect(MQN_GetCrdPrm(1, 1, &back) == 0 && memcmp(&prm, &back, sizeof prm) == 0,
           "parameters read back");

    expect(MQN_LnXY(1, 1, 1000, 0, 100, 1, 0, 0) == 0, "line buffered");
    expect(MQN_CrdSpace(1, 1, &space, 0) == 0 && space == 4095, "one slot taken");
    expect(MQN_CrdSpace(1, 1, 0, 0) == 7, "null out-pointer refused");

    return failures ? 1 : 0;
}
