// SPDX-License-Identifier: GPL-3.0-or-later
// SET and INV statements: source text to record bytes and kind, and every
// fault to its code. One table per family; bytes are opcode, mode, next (2),
// then bytes 4 to 7.
#include <gtest/gtest.h>

#include "tests/TestUtil.h"
#include "tests/compiler/StatementCases.h"

namespace plc::test {
namespace {

INSTANTIATE_TEST_SUITE_P(
    SetDriveSettings, CompilesStatement,
    ::testing::Values(
        BytesCase{"SET OUTPUT = H5", "2700000005000000", 2},
        BytesCase{"SET OSA0 = H127", "270100007f000000", 2},
        BytesCase{"SET REFVAL = F5", "2600000005000000", 2},
        BytesCase{"SET REFFRQ = F5", "2600000005000000", 2},
        BytesCase{"SET REFVAL = H5", "2702000005000000", 2},
        BytesCase{"set reffrq = h5", "2702000005000000", 2},
        BytesCase{"SET INPOSWINDOW = H5", "2703000005000000", 2},
        BytesCase{"SET INPOSTIME = H5", "2704000005000000", 2},
        BytesCase{"SET EGEARPOS = H5", "2705000005000000", 2},
        BytesCase{"SET ENCTRL = M255", "28000000ff000000", 2},
        BytesCase{"SET INV = 1", "2901000001000000", 2},
        BytesCase{"SET BRAKE = 1", "2902000001000000", 2},
        BytesCase{"SET ERR = M1", "2803000001000000", 2},
        BytesCase{"SET BRKPT = 0", "2904000000000000", 2},
        BytesCase{"SET PCTRL = M2", "2805000002000000", 2},
        BytesCase{"SET ERRRQ = 1", "2906000001000000", 2},
        BytesCase{"SET HALT = M3", "2807000003000000", 2},
        BytesCase{"SET USER0_M = M4", "2808000004000000", 2},
        BytesCase{"SET USER1_M = 1", "2909000001000000", 2},
        BytesCase{"SET USER2_M = M0", "280a000000000000", 2},
        BytesCase{"SET USER3_M = 0", "290b000000000000", 2}));

INSTANTIATE_TEST_SUITE_P(
    SetFloats, CompilesStatement,
    ::testing::Values(
        BytesCase{"SET F[C3] = F7", "2a03000007000000", 2},
        BytesCase{"SET F[C3] = 1.0", "9c030000803f0000", 3},
        BytesCase{"SET F[C10] = -2.5", "9c0a000020c00000", 3},
        BytesCase{"SET F1 = F[C3]", "2b01000003000000", 2},
        BytesCase{"SET F1 = ACTFRQ", "2c01000000000000", 2},
        BytesCase{"SET F1 = ACTSPEED", "2c01000001000000", 2},
        BytesCase{"SET F1 = ACTPOS", "2c01000002000000", 2},
        BytesCase{"SET F1 = ACTTORQUE", "2c01000003000000", 2},
        BytesCase{"SET F1 = ACTCURRENT", "2c01000004000000", 2},
        BytesCase{"SET F1 = REFPOS", "2c01000005000000", 2},
        BytesCase{"SET F1 = F2", "3101000002000000", 2},
        BytesCase{"set f1 = f2", "3101000002000000", 2},
        BytesCase{"SET F1 = H2", "3201000002000000", 2},
        BytesCase{"SET F1 + F2", "3301000002000000", 2},
        BytesCase{"SET F1 + 2.5", "3401000020400000", 3},
        BytesCase{"SET F1 - F2", "3501000002000000", 2},
        BytesCase{"SETF1-2.5", "3601000020400000", 3},  // subtraction, not an assignment
        BytesCase{"SET F1 * F2", "3701000002000000", 2},
        BytesCase{"SET F1 * 0.1", "38010000cc3dcdcc", 3},
        BytesCase{"SET F1 : F2", "3901000002000000", 2},
        BytesCase{"SET F1 : -1.5", "3a010000c0bf0000", 3},
        BytesCase{"SET F1 = ROUND F2", "3b01000002000000", 2},
        BytesCase{"SET F1 = ABS F2", "3c01000002000000", 2},
        BytesCase{"SETF1=-2.5", "3d01000020c00000", 3},
        BytesCase{"SET F127 = .5", "3d7f0000003f0000", 3},
        BytesCase{"SET F1 = +5.", "3d010000a0400000", 3},
        BytesCase{"SET F0 = 0", "3d00000000000000", 3}));

INSTANTIATE_TEST_SUITE_P(
    SetIntegers, CompilesStatement,
    ::testing::Values(
        BytesCase{"SET H[C3] = H7", "3e03000007000000", 2},
        BytesCase{"SET H[C3] = -5", "9d030000fbffffff", 3},
        BytesCase{"SET H1 = H[C10]", "3f0100000a000000", 2},
        BytesCase{"SET H1 = OUTPUT", "4001000000000000", 2},
        BytesCase{"SET H1 = INPUT", "4001000001000000", 2},
        BytesCase{"SET H1 = ACTFRQ", "4001000002000000", 2},
        BytesCase{"SET H1 = ACTPOS", "4001000004000000", 2},
        BytesCase{"SET H1 = OSA0", "4001000007000000", 2},
        BytesCase{"SET H1 = ISA1", "4001000009000000", 2},
        BytesCase{"SET H1 = CANSTAT", "400100000b000000", 2},  // not read as "=C"
        BytesCase{"SET H1 = EGEARSPEED", "400100000c000000", 2},
        BytesCase{"SET H1 = EGEARPOS", "400100000d000000", 2},
        BytesCase{"SET H5 = H6", "4605000006000000", 2},
        BytesCase{"SET H1 = F2", "4501000002000000", 2},
        BytesCase{"SET H1 = C10", "470100000a000000", 2},
        BytesCase{"SET H1 = M255", "48010000ff000000", 2},
        BytesCase{"SET H1 = Z10", "490100000a000000", 2},
        BytesCase{"SET H1 & H2", "4a01000002000000", 2},
        BytesCase{"SET H1 | H2", "4b01000002000000", 2},
        BytesCase{"SET H1 ^ H2", "4c01000002000000", 2},
        BytesCase{"SET H1 << H2", "4d01000002000000", 2},
        BytesCase{"SET H1 << 32", "4e01000020000000", 3},
        BytesCase{"SET H1 << 03", "4e01000003000000", 3},
        BytesCase{"SET H1 >> H2", "4f01000002000000", 2},
        BytesCase{"SET H1 >> 0", "5001000000000000", 3},
        BytesCase{"SET H1 + H2", "5101000002000000", 2},
        BytesCase{"SET H1 + 1000", "52010000e8030000", 3},
        BytesCase{"SET H1 + -5", "52010000fbffffff", 3},
        BytesCase{"SET H1 - H2", "5301000002000000", 2},
        BytesCase{"SET H1 - 5", "5401000005000000", 3},
        BytesCase{"SET H1 * H2", "5501000002000000", 2},
        BytesCase{"SET H1 * 2147483647", "56010000ffffff7f", 3},
        BytesCase{"SET H1 : H2", "5701000002000000", 2},
        BytesCase{"SET H1 : -2147483647", "5801000001000080", 3},
        BytesCase{"SET H1 % H2", "5901000002000000", 2},
        BytesCase{"SET H1 % 7", "5a01000007000000", 3},
        BytesCase{"SET H1 = ABS H2", "5b01000002000000", 2},
        BytesCase{"SET H1 = -5", "5c010000fbffffff", 3},
        BytesCase{"SET H127 = +0", "5c7f000000000000", 3}));

INSTANTIATE_TEST_SUITE_P(
    SetFlags, CompilesStatement,
    ::testing::Values(
        BytesCase{"SET M[C3] = M255", "5d030000ff000000", 2},
        BytesCase{"SET M[C3] = 1", "9e03000001000000", 2},
        BytesCase{"SET M1 = M[C3]", "5e01000003000000", 2},
        BytesCase{"SET M3 = STA_ERR", "5f03000000000000", 2},
        BytesCase{"SET M3 = STA_WRN", "5f03000001000000", 2},
        BytesCase{"SET M3 = STA_ERR_WRN", "5f03000002000000", 2},
        BytesCase{"SET M3 = STA_WOTI", "5f03000010000000", 2},
        BytesCase{"SET M3 = STA_RAMP_ACTIV", "5f03000019000000", 2},
        BytesCase{"SET M3 = STA_USER3", "5f0300001e000000", 2},
        BytesCase{"SET M1 = M2", "6001000002000000", 2},
        BytesCase{"SET M1 = H2", "6101000002000000", 2},
        BytesCase{"SET M1 = IS4", "620100000e000000", 2},
        BytesCase{"SET M1 = IE7", "620100000b000000", 2},
        BytesCase{"SET M1 = IA1", "620100000d000000", 2},
        BytesCase{"SET M3 = OV1", "6303000008000000", 2},
        BytesCase{"SET M3 = OS5", "630300000b000000", 2},
        BytesCase{"SET M3 = OE0", "6303000003000000", 2},
        BytesCase{"SET M1 & M2", "6401000002000000", 2},
        BytesCase{"SET M1 | M2", "6501000002000000", 2},
        BytesCase{"SET M1 ^ M2", "6601000002000000", 2},
        BytesCase{"SET M255 = 1", "67ff000001000000", 2},
        BytesCase{"SET M3 = CM1", "ac03000000000000", 2},
        BytesCase{"SET M3 = CM16", "ac0300000f000000", 2}));

INSTANTIATE_TEST_SUITE_P(
    SetCountersAndTimers, CompilesStatement,
    ::testing::Values(
        BytesCase{"SET C1 = C2", "6801000002000000", 2},
        BytesCase{"SET C1 = H2", "6901000002000000", 2},
        BytesCase{"SET C1 + H2", "6a01000002000000", 2},
        BytesCase{"SET C1 + 255", "6b010000ff000000", 2},
        BytesCase{"SET C1 - H2", "6c01000002000000", 2},
        BytesCase{"SET C10 - 0", "6d0a000000000000", 2},
        BytesCase{"SET C1 = 7", "6e01000007000000", 2},
        BytesCase{"SET Z1 = H2", "6f01000002000000", 2},
        BytesCase{"SET Z1 = -5", "70010000fbffffff", 3},
        BytesCase{"SET Z10 = 0", "700a000000000000", 3}));

INSTANTIATE_TEST_SUITE_P(
    SetOutputs, CompilesStatement,
    ::testing::Values(
        BytesCase{"SET OS3 = M7", "7109000007000000", 2},
        BytesCase{"SET OS5 = 1", "720b000001000000", 2},
        BytesCase{"SET OE0 = 1", "7203000001000000", 2},
        BytesCase{"SET OE3 = M0", "7106000000000000", 2},
        BytesCase{"SET OV0 = M255", "71070000ff000000", 2},
        BytesCase{"SET OV1 = 0", "7208000000000000", 2}));

// Reads keep a constant sub-index in byte 4, writes in byte 5; the parameter
// number is in bytes 6 and 7 either way.
INSTANTIATE_TEST_SUITE_P(
    SetParameters, CompilesStatement,
    ::testing::Values(
        BytesCase{"SET F1 = PARA[H5, H6]", "2d01000005060000", 2},
        BytesCase{"SET F1 = PARA[H5]", "2e01000005000000", 2},
        BytesCase{"SET F2 = PARA[999, 1]", "2f0200000100e703", 2},
        BytesCase{"SET F2 = PARA[100]", "3002000000006400", 2},
        BytesCase{"SET H1 = PARA[H5, H6]", "4101000005060000", 2},
        BytesCase{"SET H1 = PARA[H5]", "4201000005000000", 2},
        BytesCase{"SET H1 = PARA[7, 255]", "43010000ff000700", 2},
        BytesCase{"SET H1 = PARA[001]", "4401000000000100", 2},
        BytesCase{"SET PARA[H1, H2] = F3", "7303000001020000", 2},
        BytesCase{"SET PARA[H1, H2] = H3", "7403000001020000", 2},
        BytesCase{"SET PARA[H1] = F3", "7503000001000000", 2},
        BytesCase{"SET PARA[H127] = H3", "760300007f000000", 2},
        BytesCase{"SETPARA[100,2]=F7", "7707000000026400", 2},
        BytesCase{"SET PARA[999, 255] = H127", "787f000000ffe703", 2},
        BytesCase{"SET PARA[1] = F0", "7900000000000100", 2},
        BytesCase{"set para[1] = h0", "7a00000000000100", 2}));

INSTANTIATE_TEST_SUITE_P(
    SetInversions, CompilesStatement,
    ::testing::Values(
        BytesCase{"INV H127", "7b7f000000000000", 2},
        BytesCase{"INV M255", "7cff000000000000", 2},
        BytesCase{"INV OS4", "7d0a000000000000", 2},
        BytesCase{"INV OE3", "7d06000000000000", 2},
        BytesCase{"INV OV1", "7d08000000000000", 2}));

INSTANTIATE_TEST_SUITE_P(
    SetDriveSettings, RefusesStatement,
    ::testing::Values(
        FaultCase{"SET OUTPUT = H128", 17}, FaultCase{"SET OUTPUT = H5X", 2},
        FaultCase{"SET OUTPUT = F5", 5},  // no keyword begins so
        FaultCase{"SET EGEARPOS = H", 17}, FaultCase{"SET REFVAL = X1", 26},
        FaultCase{"SET REFFRQ = 5", 26}, FaultCase{"SET REFVAL = F128", 16},
        FaultCase{"SET REFFRQ = H128", 17}, FaultCase{"SET REFVAL = F1;", 2},
        FaultCase{"SET BRAKE = M300", 18}, FaultCase{"SET BRAKE = 2", 18},
        FaultCase{"SET BRAKE = X", 18}, FaultCase{"SET ENCTRL = M1X", 2},
        FaultCase{"SET USER3_M = 1X", 2}));

INSTANTIATE_TEST_SUITE_P(
    SetFloats, RefusesStatement,
    ::testing::Values(
        FaultCase{"SET F[C11] = 1.0", 15}, FaultCase{"SET F[C3] 1.0", 27},
        FaultCase{"SET F[C3] = F128", 16}, FaultCase{"SET F[C3] = X", 26},
        FaultCase{"SET F[C3] = 1.0X", 2}, FaultCase{"SET F128 = 1", 16},
        FaultCase{"SET F = 1", 16}, FaultCase{"SET F1 % F2", 21}, FaultCase{"SET F1 & F2", 21},
        FaultCase{"SET F1", 21}, FaultCase{"SET F1 = F[C11]", 15}, FaultCase{"SET F1 = F[C1", 27},
        FaultCase{"SET F1 = F[C1]X", 2}, FaultCase{"SET F1 = ACTPOSX", 2},
        FaultCase{"SET F1 = F128", 16}, FaultCase{"SET F1 = H128", 17},
        FaultCase{"SET F1 + F128", 16}, FaultCase{"SET F1 + X", 26},
        FaultCase{"SET F1 = 1.2.3", 26}, FaultCase{"SET F1 = .", 26},
        FaultCase{"SET F1 = ROUND H1", 26},  // goes on to "=" and a constant
        FaultCase{"SET F1 = ABS F1 X", 2},
        FaultCase{"SET F1 = 340000000000000000000000000000000000000", 26},
        FaultCase{"SET F1 : -340000000000000000000000000000000000000", 26}));

INSTANTIATE_TEST_SUITE_P(
    SetIntegers, RefusesStatement,
    ::testing::Values(
        FaultCase{"SET H5 = H6 + 3", 2},  // "=H6", then "+3" is left over
        FaultCase{"SET H[C11] = 1", 15}, FaultCase{"SET H[C3] 1", 21},
        FaultCase{"SET H[C3] = H128", 17}, FaultCase{"SET H[C3] = 2147483648", 26},
        FaultCase{"SET H[C3] = -2147483648", 26}, FaultCase{"SET H128 = 1", 17},
        FaultCase{"SET H1 ~ H2", 21}, FaultCase{"SET H1 = H[C1", 27}, FaultCase{"SET H1 = H[C11]", 15},
        FaultCase{"SET H1 = C11", 15}, FaultCase{"SET H1 = M256", 18}, FaultCase{"SET H1 = Z11", 19},
        FaultCase{"SET H1 = F200", 16}, FaultCase{"SET H1 & H128", 17},
        FaultCase{"SET H1 << 33", 26}, FaultCase{"SET H1 >> -1", 26},
        FaultCase{"SET H1 << H128", 17}, FaultCase{"SET H1 = 2147483648", 26},
        FaultCase{"SET H1 + 2147483648", 26}, FaultCase{"SET H1 = -2147483648", 26},
        FaultCase{"SET H1 % X", 26}, FaultCase{"SET H1 = 1.5", 2},
        FaultCase{"SET H1 = ABS F1", 26}, FaultCase{"SET H1 = OUTPUTX", 2}));

INSTANTIATE_TEST_SUITE_P(
    SetFlags, RefusesStatement,
    ::testing::Values(
        FaultCase{"SET M[C11] = 1", 15}, FaultCase{"SET M[C3] 1", 21},
        FaultCase{"SET M[C3] = M256", 18}, FaultCase{"SET M[C3] = 2", 26},
        FaultCase{"SET M256 = 1", 18}, FaultCase{"SET M1 = M[C1", 27},
        FaultCase{"SET M3 = STA_INPOSX", 2}, FaultCase{"SET M3 = STA_WOTIX", 2},
        FaultCase{"SET M3 = STA_NONE", 26},  // an unknown name ends as a bad value
        FaultCase{"SET M3 = OV2", 25}, FaultCase{"SET M3 = IS7", 25}, FaultCase{"SET M3 = IA", 25},
        FaultCase{"SET M3 = CM17", 18}, FaultCase{"SET M3 = CM0", 18}, FaultCase{"SET M1 = 2", 26},
        FaultCase{"SET M1 & H2", 21}, FaultCase{"SET M1 + M2", 21}, FaultCase{"SET M1 | M256", 18},
        FaultCase{"SET M1 = H128", 17}, FaultCase{"SET M1 = 1X", 2}));

INSTANTIATE_TEST_SUITE_P(
    SetCountersAndTimers, RefusesStatement,
    ::testing::Values(
        FaultCase{"SET C11 = 1", 15}, FaultCase{"SET C1 = C11", 15}, FaultCase{"SET C1 = H200", 17},
        FaultCase{"SET C1 = 256", 26}, FaultCase{"SET C1 + 256", 26}, FaultCase{"SET C1 - -1", 26},
        FaultCase{"SET C1 * H2", 21}, FaultCase{"SET Z11 = 1", 19}, FaultCase{"SET Z1 + 1", 21},
        FaultCase{"SET Z1 = H128", 17}, FaultCase{"SET Z1 = X", 26}, FaultCase{"SET Z1 = 5X", 2}));

INSTANTIATE_TEST_SUITE_P(
    SetOutputs, RefusesStatement,
    ::testing::Values(
        FaultCase{"SET OS6 = 1", 25}, FaultCase{"SET OE4 = M1", 25}, FaultCase{"SET OV2 = 1", 25},
        FaultCase{"SET OV = 1", 25}, FaultCase{"SET OS1 = 2", 26}, FaultCase{"SET OS1 = M256", 18},
        FaultCase{"SET OS1 ~ 1", 21}, FaultCase{"SET OS1 = 1X", 2}));

// Reads: the closing "]" alone (code 27); writes: "]=" together (code 21).
INSTANTIATE_TEST_SUITE_P(
    SetParameters, RefusesStatement,
    ::testing::Values(
        FaultCase{"SET F1 = PARA[H128]", 17}, FaultCase{"SET F1 = PARA[H1, 2]", 21},
        FaultCase{"SET F1 = PARA[H1, H128]", 17}, FaultCase{"SET F1 = PARA[H1, H2", 27},
        FaultCase{"SET F1 = PARA[H1", 21}, FaultCase{"SET F1 = PARA[H1;", 21},
        FaultCase{"SET F1 = PARA[0]", 26}, FaultCase{"SET F1 = PARA[1000]", 26},
        FaultCase{"SET F1 = PARA[5, 256]", 26}, FaultCase{"SET F1 = PARA[5, 1", 27},
        FaultCase{"SET F1 = PARA[5", 21}, FaultCase{"SET F1 = PARA[5]X", 2},
        FaultCase{"SET H1 = PARA[H1, H128]", 17}, FaultCase{"SET H1 = PARA[X]", 26},
        FaultCase{"SET PARA[H1, H2 = F3", 21}, FaultCase{"SET PARA[H1 = F3", 21},
        FaultCase{"SET PARA[H1, 2] = F3", 21}, FaultCase{"SET PARA[H128] = F1", 17},
        FaultCase{"SET PARA[H1, H128] = F1", 17}, FaultCase{"SET PARA[5, 2 = F3", 21},
        FaultCase{"SET PARA[5 = F3", 21}, FaultCase{"SET PARA[5, H2] = F3", 26},
        FaultCase{"SET PARA[1000] = F7", 26}, FaultCase{"SET PARA[0] = F7", 26},
        FaultCase{"SET PARA[5] = M3", 21}, FaultCase{"SET PARA[5] = F128", 16},
        FaultCase{"SET PARA[5] = H128", 17}, FaultCase{"SET PARA[5] = F1X", 2}));

INSTANTIATE_TEST_SUITE_P(
    SetInversions, RefusesStatement,
    ::testing::Values(FaultCase{"INV H128", 17}, FaultCase{"INV M256", 18}, FaultCase{"INV OS6", 25},
                      FaultCase{"INV OV2", 25}, FaultCase{"INV OE", 25}, FaultCase{"INV H1X", 2},
                      FaultCase{"INV F1", 5}));

}  // namespace
}  // namespace plc::test
