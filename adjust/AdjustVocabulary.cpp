#include "adjust/AdjustVocabulary.h"

#include "adjust/AdjustCells.h"
#include "adjust/AdjustFrameRow.h"
#include "adjust/AdjustImagePasses.h"
#include "adjust/AdjustRowEvents.h"

#include "cells/SharedCategories.h"
#include "foundation/Globals.h"
#include "foundation/cmcEvMan.h"
#include "image/BankSite.h"
#include "image/ImageLayout.h"
#include "image/cmcEeprom.h"
#include "platform/Fatal.h"

#include <algorithm>
#include <iterator>
#include <numeric>
#include <span>
#include <string_view>
#include <vector>

namespace adj {

namespace {

const CellVocabulary::Category kCategories[] = {
    TOLVANE_SHARED_CATEGORIES(kindUserChar),
    {"CT_Rpt", kindRepeaterPool}, // 25
    {"CT_ADJ", 0},                // 26
};

// The labels both programs have stand in the cloning program's order, its
// reserved ids (names holding '[') among them. Left out are the runs this
// program has no place for there: the LTR trunking, MDC, DTMF decoding and
// digital trunking labels, the settings its radios do not carry, and the few
// labels it keeps past the empty one (below). Each run is given by its first
// and last name in the cloning program's table.
struct Run {
    const char* first;
    const char* last;
};
constexpr Run kLeftOut[] = {
    {"FlexZoneSel", "FlexCHSelNum"},
    {"CL_Check_Ltr_Repeater", "CL_Check_Ltr_Repeater"},
    {"CL_Ltr_BlockIdEna", "CL_Ltr_PwrSave"},
    {"CL_Mch_Call_Zuro", "CL_Mch_SQL_Type"},
    {"CL_Digi_Config_T_SHORT_Wait", "CL_Digi_Msg_Status_Text_Tx"},
    {"CL_Grp_HomeRptCh", "CL_Grp_BlockIdEnd"},
    {"CL_Rpt_AreaBit", "CL_Ltr_Op_LSD_Decoder"},
    {"CL_KDisp_PrioA_SwOn", "CL_KDisp_PrioA_ClearDown"},
    {"CL_SetM_SigMoni", "CL_SetM_SigMoni"},
    {"CL_USetM_SigMoni", "CL_USetM_SigMoni"},
    {"CL_Comm_Tactical", "CL_Comm_AutoTx_MicSel"},
    {"CL_Dtmf_Decode_ChNo", "CL_Dtmf_Decode_Sfunc"},
    {"CL_Dtmf_MarkTimer", "CL_Dtmf_ANI_Disp_Timer"},
    {"CL_ScanList_TalkBack", "CL_ScanList_PwrSave"},
    {"CL_ScanComm_VoteLevel_Fast", "CL_ScanComm_TalkBackTimerBeep"},
    {"CL_Maker_mPOWB1", "CL_Check_MDC_Status"},
};

// This program's own labels among the shared ones: each follows the label
// named first, which may itself be placed by an earlier entry.
struct Placed {
    const char* after;
    const char* name;
};
constexpr Placed kPlaced[] = {
    {"CL_Menu_View_ToolBar", "CL_Menu_View_Ad"},
    {"CL_Menu_View_Ad", "CL_Menu_View_Ad_Update"},
    // The PMR-Z selection column closes the repeater family here.
    {"CL_Rpt_Text", "CL_Mch_Sel_Zuro"},
};
constexpr int32_t kSharedLabels = 669;

// This program's own families after the shared labels: the adjustment items,
// adjustment parameters, A/D monitor rows and the maker's A/D rows.
const char* const kOwnLabels[] = {
    // 669
    "CL_Adjust_ChGrp",
    "CL_Adjust_ChNo",
    "CL_Adjust_ChNoFreq",
    "CL_Adjust_RfPow",
    "CL_Adjust_Ref",
    "CL_Adjust_Ref_Bar",
    "CL_Adjust_High",
    "CL_Adjust_High_Bar",
    "CL_Adjust_Mid",
    "CL_Adjust_Mid_Bar",
    "CL_Adjust_Low",
    "CL_Adjust_Low_Bar",
    "CL_Adjust_BALW",
    "CL_Adjust_BALW_Bar",
    "CL_Adjust_BALM",
    "CL_Adjust_BALM_Bar",
    "CL_Adjust_BALN",
    "CL_Adjust_BALN_Bar",
    "CL_Adjust_BALD",
    "CL_Adjust_BALD_Bar",
    "CL_Adjust_ModW",
    "CL_Adjust_ModW_Bar",
    "CL_Adjust_ModM",
    "CL_Adjust_ModM_Bar",
    "CL_Adjust_ModN",
    "CL_Adjust_ModN_Bar",
    "CL_Adjust_BalanceW",
    "CL_Adjust_BalanceW_Bar",
    "CL_Adjust_BalanceN",
    "CL_Adjust_BalanceN_Bar",
    "CL_Adjust_BpfAll",
    "CL_Adjust_BpfAll_Sweep",
    "CL_Adjust_BpfT1",
    "CL_Adjust_BpfT1_Bar",
    "CL_Adjust_BpfT1_Sweep",
    "CL_Adjust_BpfT2",
    "CL_Adjust_BpfT2_Bar",
    "CL_Adjust_BpfT2_Sweep",
    "CL_Adjust_BpfT3",
    "CL_Adjust_BpfT3_Bar",
    "CL_Adjust_BpfT3_Sweep",
    "CL_Adjust_BpfT4",
    "CL_Adjust_BpfT4_Bar",
    "CL_Adjust_BpfT4_Sweep",
    "CL_Adjust_Noise",
    "CL_Adjust_Noise_Bar",
    "CL_Adjust_Noise_Sweep",
    "CL_Adjust_Rssi",
    "CL_Adjust_Rssi_Bar",
    "CL_Adjust_Rssi_Sweep",
    "CL_Adjust_Vox",
    "CL_Adjust_Vox_Bar",
    "CL_Adjust_Vox_Sweep",
    "CL_Adjust_AUTO01",
    "CL_Adjust_AUTO01_Bar",
    "CL_Adjust_AUTO01_Sweep",
    "CL_Adjust_AUTO02",
    "CL_Adjust_AUTO02_Bar",
    "CL_Adjust_AUTO02_Sweep",
    "CL_Adjust_AUTO03",
    "CL_Adjust_AUTO03_Bar",
    "CL_Adjust_AUTO03_Sweep",
    "CL_Adjust_AUTO04",
    "CL_Adjust_AUTO04_Bar",
    "CL_Adjust_AUTO04_Sweep",
    "CL_Adjust_AUTO05",
    "CL_Adjust_AUTO05_Bar",
    "CL_Adjust_AUTO05_Sweep",
    "CL_Adjust_AUTO06",
    "CL_Adjust_AUTO06_Bar",
    "CL_Adjust_AUTO06_Sweep",
    "CL_Adjust_AUTO07",
    "CL_Adjust_AUTO07_Bar",
    "CL_Adjust_AUTO07_Sweep",
    "CL_Adjust_AUTO08",
    "CL_Adjust_AUTO08_Bar",
    "CL_Adjust_AUTO08_Sweep",
    "CL_Adjust_AUTO09",
    "CL_Adjust_AUTO09_Bar",
    "CL_Adjust_AUTO09_Sweep",
    "CL_Adjust_AUTO10",
    "CL_Adjust_AUTO10_Bar",
    "CL_Adjust_AUTO10_Sweep",
    "CL_Adjust_AUTO11",
    "CL_Adjust_AUTO11_Bar",
    "CL_Adjust_AUTO11_Sweep",
    "CL_Adjust_AUTO12",
    "CL_Adjust_AUTO12_Bar",
    "CL_Adjust_AUTO12_Sweep",
    "CL_Adjust_AUTO13",
    "CL_Adjust_AUTO13_Bar",
    "CL_Adjust_AUTO13_Sweep",
    "CL_Adjust_AUTO14",
    "CL_Adjust_AUTO14_Bar",
    "CL_Adjust_AUTO14_Sweep",
    "CL_Adjust_AUTO15",
    "CL_Adjust_AUTO15_Bar",
    "CL_Adjust_AUTO15_Sweep",
    "CL_Adjust_AUTO16",
    "CL_Adjust_AUTO16_Bar",
    "CL_Adjust_AUTO16_Sweep",
    "CL_Adjust_AUTO17",
    "CL_Adjust_AUTO17_Bar",
    "CL_Adjust_AUTO17_Sweep",
    "CL_Adjust_AUTO18",
    "CL_Adjust_AUTO18_Bar",
    "CL_Adjust_AUTO18_Sweep",
    "CL_Adjust_AUTO19",
    "CL_Adjust_AUTO19_Bar",
    "CL_Adjust_AUTO19_Sweep",
    "CL_Adjust_AUTO20",
    "CL_Adjust_AUTO20_Bar",
    "CL_Adjust_AUTO20_Sweep",
    "CL_Adjust_MOD_M_C",
    "CL_Adjust_MOD_M_C_Bar",
    "CL_Adjust_MOD_M_C_Sweep",
    "CL_Adjust_MOD_M_L",
    "CL_Adjust_MOD_M_L_Bar",
    "CL_Adjust_MOD_M_L_Sweep",
    "CL_Adjust_MOD_M_H",
    "CL_Adjust_MOD_M_H_Bar",
    "CL_Adjust_MOD_M_H_Sweep",
    // 791
    "CL_ADP_REF_Init",
    "CL_ADP_REF_Temp1",
    "CL_ADP_REF_Temp2",
    "CL_ADP_REF_Inc1",
    "CL_ADP_REF_Vinc1",
    "CL_ADP_HIGH_Init",
    "CL_ADP_HIGH_Temp1",
    "CL_ADP_HIGH_Temp2",
    "CL_ADP_HIGH_Inc1",
    "CL_ADP_HIGH_Vinc1",
    "CL_ADP_MID_Init",
    "CL_ADP_MID_Temp1",
    "CL_ADP_MID_Temp2",
    "CL_ADP_MID_Inc1",
    "CL_ADP_MID_Vinc1",
    "CL_ADP_LOW_Init",
    "CL_ADP_LOW_Temp1",
    "CL_ADP_LOW_Temp2",
    "CL_ADP_LOW_Inc1",
    "CL_ADP_LOW_Vinc1",
    "CL_ADP_BALW_Init",
    "CL_ADP_BALW_Temp1",
    "CL_ADP_BALW_Temp2",
    "CL_ADP_BALW_Inc1",
    "CL_ADP_BALW_Vinc1",
    "CL_ADP_BALM_Init",
    "CL_ADP_BALM_Temp1",
    "CL_ADP_BALM_Temp2",
    "CL_ADP_BALM_Inc1",
    "CL_ADP_BALM_Vinc1",
    "CL_ADP_BALN_Init",
    "CL_ADP_BALN_Temp1",
    "CL_ADP_BALN_Temp2",
    "CL_ADP_BALN_Inc1",
    "CL_ADP_BALN_Vinc1",
    "CL_ADP_BALD_Init",
    "CL_ADP_BALD_Temp1",
    "CL_ADP_BALD_Temp2",
    "CL_ADP_BALD_Inc1",
    "CL_ADP_BALD_Vinc1",
    "CL_ADP_MODW_Init",
    "CL_ADP_MODW_Temp1",
    "CL_ADP_MODW_Temp2",
    "CL_ADP_MODW_Inc1",
    "CL_ADP_MODW_Vinc1",
    "CL_ADP_MODM_Init",
    "CL_ADP_MODM_Temp1",
    "CL_ADP_MODM_Temp2",
    "CL_ADP_MODM_Inc1",
    "CL_ADP_MODM_Vinc1",
    "CL_ADP_MODN_Init",
    "CL_ADP_MODN_Temp1",
    "CL_ADP_MODN_Temp2",
    "CL_ADP_MODN_Inc1",
    "CL_ADP_MODN_Vinc1",
    "CL_ADP_BALANCEW_Init",
    "CL_ADP_BALANCEW_Temp1",
    "CL_ADP_BALANCEW_Temp2",
    "CL_ADP_BALANCEW_Inc1",
    "CL_ADP_BALANCEW_Vinc1",
    "CL_ADP_BALANCEN_Init",
    "CL_ADP_BALANCEN_Temp1",
    "CL_ADP_BALANCEN_Temp2",
    "CL_ADP_BALANCEN_Inc1",
    "CL_ADP_BALANCEN_Vinc1",
    "CL_ADP_BPFT1_Init",
    "CL_ADP_BPFT1_Temp1",
    "CL_ADP_BPFT1_Temp2",
    "CL_ADP_BPFT1_Inc1",
    "CL_ADP_BPFT1_Vinc1",
    "CL_ADP_BPFT2_Init",
    "CL_ADP_BPFT2_Temp1",
    "CL_ADP_BPFT2_Temp2",
    "CL_ADP_BPFT2_Inc1",
    "CL_ADP_BPFT2_Vinc1",
    "CL_ADP_BPFT3_Init",
    "CL_ADP_BPFT3_Temp1",
    "CL_ADP_BPFT3_Temp2",
    "CL_ADP_BPFT3_Inc1",
    "CL_ADP_BPFT3_Vinc1",
    "CL_ADP_BPFT4_Init",
    "CL_ADP_BPFT4_Temp1",
    "CL_ADP_BPFT4_Temp2",
    "CL_ADP_BPFT4_Inc1",
    "CL_ADP_BPFT4_Vinc1",
    "CL_ADP_NOISE_Init",
    "CL_ADP_NOISE_Temp1",
    "CL_ADP_NOISE_Temp2",
    "CL_ADP_NOISE_Inc1",
    "CL_ADP_NOISE_Vinc1",
    "CL_ADP_RSSI_Init",
    "CL_ADP_RSSI_Temp1",
    "CL_ADP_RSSI_Temp2",
    "CL_ADP_RSSI_Inc1",
    "CL_ADP_RSSI_Vinc1",
    "CL_ADP_VOX_Init",
    "CL_ADP_VOX_Temp1",
    "CL_ADP_VOX_Temp2",
    "CL_ADP_VOX_Inc1",
    "CL_ADP_VOX_Vinc1",
    "CL_ADP_CTCSS_Init",
    "CL_ADP_CTCSS_Temp1",
    "CL_ADP_CTCSS_Temp2",
    "CL_ADP_CTCSS_Inc1",
    "CL_ADP_CTCSS_Vinc1",
    "CL_ADP_DTCS_Init",
    "CL_ADP_DTCS_Temp1",
    "CL_ADP_DTCS_Temp2",
    "CL_ADP_DTCS_Inc1",
    "CL_ADP_DTCS_Vinc1",
    "CL_ADP_GAIN_Init",
    "CL_ADP_GAIN_Temp1",
    "CL_ADP_GAIN_Temp2",
    "CL_ADP_GAIN_Inc1",
    "CL_ADP_GAIN_Vinc1",
    "CL_ADP_SQLSC_Init",
    "CL_ADP_SQLSC_Temp1",
    "CL_ADP_SQLSC_Temp2",
    "CL_ADP_SQLSC_Inc1",
    "CL_ADP_SQLSC_Vinc1",
    "CL_ADP_SQLOP1_Init",
    "CL_ADP_SQLOP1_Temp1",
    "CL_ADP_SQLOP1_Temp2",
    "CL_ADP_SQLOP1_Inc1",
    "CL_ADP_SQLOP1_Vinc1",
    "CL_ADP_SQLOP2_Init",
    "CL_ADP_SQLOP2_Temp1",
    "CL_ADP_SQLOP2_Temp2",
    "CL_ADP_SQLOP2_Inc1",
    "CL_ADP_SQLOP2_Vinc1",
    "CL_ADP_SQLCL1_Init",
    "CL_ADP_SQLCL1_Temp1",
    "CL_ADP_SQLCL1_Temp2",
    "CL_ADP_SQLCL1_Inc1",
    "CL_ADP_SQLCL1_Vinc1",
    "CL_ADP_SQLCL2_Init",
    "CL_ADP_SQLCL2_Temp1",
    "CL_ADP_SQLCL2_Temp2",
    "CL_ADP_SQLCL2_Inc1",
    "CL_ADP_SQLCL2_Vinc1",
    "CL_ADP_TAIL_Init",
    "CL_ADP_TAIL_Temp1",
    "CL_ADP_TAIL_Temp2",
    "CL_ADP_TAIL_Inc1",
    "CL_ADP_TAIL_Vinc1",
    "CL_ADP_SMET_Init",
    "CL_ADP_SMET_Temp1",
    "CL_ADP_SMET_Temp2",
    "CL_ADP_SMET_Inc1",
    "CL_ADP_SMET_Vinc1",
    "CL_ADP_MODMC_Init",
    "CL_ADP_MODMC_Temp1",
    "CL_ADP_MODMC_Temp2",
    "CL_ADP_MODMC_Inc1",
    "CL_ADP_MODMC_Vinc1",
    "CL_ADP_MODML_Init",
    "CL_ADP_MODML_Temp1",
    "CL_ADP_MODML_Temp2",
    "CL_ADP_MODML_Inc1",
    "CL_ADP_MODML_Vinc1",
    "CL_ADP_SQL19",
    "CL_ADP_SQL10",
    "CL_ADP_FrgWide",
    "CL_ADP_POW_MIN",
    "CL_ADP_SQLOP1_OP",
    "CL_ADP_SQLOP1_L1",
    "CL_ADP_SQLOP1_L2",
    "CL_ADP_SQLOP1_L3",
    "CL_ADP_SQLOP1_L4",
    "CL_ADP_SQLOP1_L5",
    "CL_ADP_SQLOP1_L6",
    "CL_ADP_SQLOP1_L7",
    "CL_ADP_SQLOP1_L8",
    "CL_ADP_SQLOP1_L9",
    "CL_ADP_SQLOP1_L0",
    "CL_ADP_SQLOP2_0P",
    "CL_ADP_SQLOP2_L1",
    "CL_ADP_SQLOP2_L2",
    "CL_ADP_SQLOP2_L3",
    "CL_ADP_SQLOP2_L4",
    "CL_ADP_SQLOP2_L5",
    "CL_ADP_SQLOP2_L6",
    "CL_ADP_SQLOP2_L7",
    "CL_ADP_SQLOP2_L8",
    "CL_ADP_SQLOP2_L9",
    "CL_ADP_SQLOP2_L0",
    "CL_ADP_SQLSC_OP",
    "CL_ADP_SQLSC_L1",
    "CL_ADP_SQLSC_L2",
    "CL_ADP_SQLSC_L3",
    "CL_ADP_SQLSC_L4",
    "CL_ADP_SQLSC_L5",
    "CL_ADP_SQLSC_L6",
    "CL_ADP_SQLSC_L7",
    "CL_ADP_SQLSC_L8",
    "CL_ADP_SQLSC_L9",
    "CL_ADP_SQLSC_L0",
    "CL_ADP_SQLCL1_OP",
    "CL_ADP_SQLCL1_L1",
    "CL_ADP_SQLCL1_L2",
    "CL_ADP_SQLCL1_L3",
    "CL_ADP_SQLCL1_L4",
    "CL_ADP_SQLCL1_L5",
    "CL_ADP_SQLCL1_L6",
    "CL_ADP_SQLCL1_L7",
    "CL_ADP_SQLCL1_L8",
    "CL_ADP_SQLCL1_L9",
    "CL_ADP_SQLCL1_L0",
    "CL_ADP_SQLCL2_OP",
    "CL_ADP_SQLCL2_L1",
    "CL_ADP_SQLCL2_L2",
    "CL_ADP_SQLCL2_L3",
    "CL_ADP_SQLCL2_L4",
    "CL_ADP_SQLCL2_L5",
    "CL_ADP_SQLCL2_L6",
    "CL_ADP_SQLCL2_L7",
    "CL_ADP_SQLCL2_L8",
    "CL_ADP_SQLCL2_L9",
    "CL_ADP_SQLCL2_L0",
    "CL_ADP_TAIL_L0",
    "CL_ADP_TAIL_L1",
    "CL_ADP_TAIL_L2",
    "CL_ADP_TAIL_L3",
    "CL_ADP_TAIL_L4",
    "CL_ADP_TAIL_L5",
    "CL_ADP_SMET_L0",
    "CL_ADP_SMET_L1",
    "CL_ADP_SMET_L2",
    "CL_ADP_SMET_L3",
    "CL_ADP_SMET_L4",
    "CL_ADP_BATTN_NU0",
    "CL_ADP_BATTN_NU1",
    "CL_ADP_BATTN_NU2",
    "CL_ADP_BATTN_ND1",
    "CL_ADP_BATTN_ND2",
    "CL_ADP_BATTN_ND3",
    "CL_ADP_BATTA_NU0",
    "CL_ADP_BATTA_NU1",
    "CL_ADP_BATTA_NU2",
    "CL_ADP_BATTA_5D1",
    "CL_ADP_BATTA_5D2",
    "CL_ADP_BATTA_5D3",
    "CL_ADP_BATT_NHV",
    "CL_ADP_BATT_NLV",
    "CL_ADP_BATT_5HV",
    "CL_ADP_BATT_5LV",
    "CL_ADP_CTCSS_LV1",
    "CL_ADP_CTCSS_LV2",
    "CL_ADP_CTCSS_LV3",
    "CL_ADP_CTCSS_LV4",
    "CL_ADP_DTCS_LV1",
    "CL_ADP_DTCS_LV2",
    "CL_ADP_DTCS_LV3",
    "CL_ADP_DTCS_LV4",
    "CL_ADP_GAIN_LV1",
    "CL_ADP_GAIN_LV2",
    "CL_ADP_GAIN_LV3",
    "CL_ADP_GAIN_LV4",
    "CL_ADP_GAIN_LV5",
    "CL_ADP_GAIN_LV6",
    // 1051
    "CL_WinAD_BATTD",
    "CL_WinAD_BATTH",
    "CL_WinAD_BATTV",
    // 1054
    "CL_Maker_NOISD",
    "CL_Maker_NOISH",
    "CL_Maker_NOISV",
    "CL_Maker_SDD",
    "CL_Maker_SDH",
    "CL_Maker_SDV",
    "CL_Maker_LVIND",
    "CL_Maker_LVINH",
    "CL_Maker_LVINV",
    "CL_Maker_TEMPSD",
    "CL_Maker_TEMPSH",
    "CL_Maker_TEMPSV",
    "CL_Maker_TXDETD",
    "CL_Maker_TXDETH",
    "CL_Maker_TXDETV",
    "CL_Maker_WETD",
    "CL_Maker_WETH",
    "CL_Maker_WETV",
    "CL_Maker_EXDETD",
    "CL_Maker_EXDETH",
    "CL_Maker_EXDETV",
    "CL_Maker_VOXTD",
    "CL_Maker_VOXTH",
    "CL_Maker_VOXTV",
    // 1078
    "CL_WinAD_FRQCD",
    "CL_WinAD_FRQCH",
    "CL_WinAD_FRQCV",
    "CL_WinAD_T1D",
    "CL_WinAD_T1H",
    "CL_WinAD_T1V",
    "CL_WinAD_T2D",
    "CL_WinAD_T2H",
    "CL_WinAD_T2V",
    "CL_WinAD_T3D",
    "CL_WinAD_T3H",
    "CL_WinAD_T3V",
    "CL_WinAD_T4D",
    "CL_WinAD_T4H",
    "CL_WinAD_T4V",
    "CL_WinAD_DEVD",
    "CL_WinAD_DEVH",
    "CL_WinAD_DEVV",
    "CL_WinAD_DTCSD",
    "CL_WinAD_DTCSH",
    "CL_WinAD_DTCSV",
    "CL_WinAD_SQLD",
    "CL_WinAD_SQLH",
    "CL_WinAD_SQLV",
    // 1102
    "CL_Dummy",
};
constexpr int32_t kFixedLabels = kSharedLabels + static_cast<int32_t>(std::size(kOwnLabels));
static_assert(kFixedLabels == 1103);

// Labels this program's cells need beyond the fixed table, whose families are
// full: they follow the empty label, so that every fixed id (the command
// codes, the empty cell's label, the ids the cases show) stays where it is.
constexpr const char* kLabelsBeyond[] = {
    "CL_Mch_RxNac",         "CL_Mch_TxNac",        "CL_Digi_NacCh_RxNac",   "CL_Digi_NacCh_TxNac",
    "CL_Digi_NacCh_Sel",    "CL_Grp_HomeRptCh",    "CL_Rpt_AreaBit",        "CL_Mch_AreaBit",
    "CL_ScanList_DispText", "CL_ScanList_PwrSave", "CL_ScanComm_PwrOnScan", "CL_Mch_Unit_Hex",
};
// The rest of the maker's parameter rows, which have no case here.
constexpr Run kRunBeyond = {"CL_Maker_mPOWB1", "CL_Maker_mRSSISL"};

std::vector<const char*> DeriveLabels() {
    std::vector<const char*> labels;
    auto placedName = [](std::string_view name) {
        return std::ranges::any_of(kPlaced, [name](const Placed& p) { return name == p.name; });
    };
    auto emit = [&labels](const char* name) {
        labels.push_back(name);
        for (const Placed& p : kPlaced)
            if (std::string_view(labels.back()) == p.after) labels.push_back(p.name);
    };
    const char* runLast = nullptr;
    for (const char* name : CloningCellNames()) {
        if (!runLast)
            for (const Run& run : kLeftOut)
                if (std::string_view(name) == run.first) runLast = run.last;
        if (runLast) {
            if (std::string_view(name) == runLast) runLast = nullptr;
            continue;
        }
        if (!placedName(name)) emit(name);
    }
    if (static_cast<int32_t>(labels.size()) != kSharedLabels)
        plat::Fatal("The shared cell labels do not fit.");
    labels.insert(labels.end(), std::begin(kOwnLabels), std::end(kOwnLabels));
    labels.push_back(""); // the empty label
    labels.insert(labels.end(), std::begin(kLabelsBeyond), std::end(kLabelsBeyond));
    const std::span<const char* const> theirs = CloningCellNames();
    auto named = [&theirs](std::string_view name) {
        return std::ranges::find_if(theirs, [name](const char* n) { return name == n; });
    };
    const auto first = named(kRunBeyond.first);
    const auto last = named(kRunBeyond.last);
    if (first == theirs.end() || last == theirs.end()) plat::Fatal("The maker's parameter rows are missing.");
    labels.insert(labels.end(), first, last + 1);
    return labels;
}

static_assert(std::size(kCategories) == 27);

// Only the option flags Flag0 to Flag4 mean something to this program's cells.
constexpr int32_t kOptionFlags = 5;

// The repeater-site record: the site, the first entry, the highest row of a
// site's sheet and the site's entry count.
constexpr int32_t kSiteSheetRows = 19;

// The adjustment family's cells that show nothing: the sweep cells of items
// without a procedure and the bar cells of items without a bar.
constexpr const char* kEmptyAdjustCells[] = {
    "CL_Adjust_Noise_Sweep",   "CL_Adjust_Vox_Sweep",     "CL_Adjust_Rssi_Bar",     "CL_Adjust_Rssi_Sweep",
    "CL_Adjust_AUTO01_Sweep",  "CL_Adjust_AUTO07_Sweep",  "CL_Adjust_AUTO08_Sweep", "CL_Adjust_AUTO09_Sweep",
    "CL_Adjust_AUTO10_Sweep",  "CL_Adjust_AUTO11_Sweep",  "CL_Adjust_AUTO12_Sweep", "CL_Adjust_AUTO13_Sweep",
    "CL_Adjust_AUTO14_Sweep",  "CL_Adjust_AUTO15_Sweep",  "CL_Adjust_AUTO16_Sweep", "CL_Adjust_AUTO17_Sweep",
    "CL_Adjust_AUTO18_Sweep",  "CL_Adjust_AUTO19_Bar",    "CL_Adjust_AUTO20_Bar",   "CL_Adjust_MOD_M_C_Sweep",
    "CL_Adjust_MOD_M_L_Sweep", "CL_Adjust_MOD_M_H_Sweep",
};

CellFrameNumbers AdjustFrameNumbers(const CellVocabulary& v) {
    auto cell = [&v](const char* name) { return v.CellIndex(name); };
    auto category = [&v](const char* name) { return v.CategoryIndex(name); };
    CellFrameNumbers n;
    // As in the cloning program, the codes are the ids of the row pop-up menu's items.
    n.commands = {
        .run = cell("CL_PMenu_Edit"),
        .copy = cell("CL_PMenu_Copy"),
        .paste = cell("CL_PMenu_Paste"),
        .carryUp = cell("CL_PMenu_CarryUp"),
        .carryDown = cell("CL_PMenu_CarryDown"),
        .clear = cell("CL_PMenu_Clear"),
        .deleteRows = cell("CL_PMenu_Delete"),
        .insertRows = cell("CL_PMenu_Insert"),
        .help = cell("CL_PMenu_Help"),
        .winCopy = cell("CL_PMenu_WinCopy"),
    };
    for (const char* name : kEmptyAdjustCells)
        n.emptyIds.push_back({cell(name), cell(name)});
    n.categories = {
        .popupMenu = category("CT_PopupMenu"),
        .channel = category("CT_Mch"),
        .channelCheck = category("CT_Mch_Check"),
        .bankOp = category("CT_BankOp"),
        .repeater = category("CT_Rpt"),
    };
    // This program has no LTR banks: every column of an empty channel row
    // sends its input to the receive frequency.
    n.firstColumn = {
        .attributes = cell("CL_Mch_Atr"),
        .rxFreq = cell("CL_Mch_FreqR"),
        .basic = {},
    };
    // No attribute column in this program's repeater rows.
    n.repeaterEntry = {
        .rxFreq = cell("CL_Rpt_FreqR"), .text = cell("CL_Rpt_Text"), .areaBit = cell("CL_Rpt_AreaBit")};
    n.serialNumberCell = cell("CL_CloneInfo_Esn");
    n.serialNumber = FormatShortSerialNumber;
    n.fitsDynamicArea = FitsDynamicArea;
    // The mobile displays show six strips of dots a character.
    n.mobileGlyphStrips = 6;
    // Its rows are its own record's: other kinds, the NAC table and the repeater pool among them.
    n.programRow = MakeAdjustFrameRow;
    // The cloning program's cases taken by name read their rows with the
    // cloning program's kind of the same sheet.
    // The channel kinds are the same in both.
    n.rowRecordKinds.resize(datCh::kKinds);
    std::iota(n.rowRecordKinds.begin(), n.rowRecordKinds.end(), 0);
    const CellVocabulary& cloning = CloningCellVocabulary();
    for (const CellVocabulary::Category& c : kCategories)
        if (c.recordKind > 0 && c.recordKind < datCh::kKinds)
            n.rowRecordKinds[static_cast<size_t>(c.recordKind)] =
                cloning.CategoryInfo(cloning.CategoryIndex(c.name));
    // Rows move as this program's records, in its own tables.
    n.rowEvents = adj::HandleRowEvent;
    return n;
}

} // namespace

const CellVocabulary& AdjustCellVocabulary() {
    static const std::vector<const char*> labels = DeriveLabels();
    static const CellVocabulary vocabulary(kCategories, labels, kOptionFlags, kFixedLabels);
    return vocabulary;
}

CellEngine& AdjustCellEngine() {
    static CellEngine engine(AdjustCellVocabulary(), AdjustFrameNumbers(AdjustCellVocabulary()),
                             FillAdjustCellTable);
    return engine;
}

SiteRange GetSiteRange(const cmcEeprom& image, int32_t site) {
    if (site < 0 || site >= layout::kSites || !image.IsValidAddress(layout::kSiteCounts + site)) return {};
    return {site, 0, kSiteSheetRows, image.GetByte(layout::kSiteCounts + site)};
}

SiteRange GetCurrentSiteRange(const cmcEeprom& image) {
    // The open repeater-site sheet answers with the current site; nobody answering means none.
    if (!gEvMan) return {};
    const std::vector<cmcEvAns> answers = gEvMan->SendWithAnswer(evQuerySite);
    if (answers.empty()) return {};
    return GetSiteRange(image, static_cast<int32_t>(answers.front().p1));
}

} // namespace adj
