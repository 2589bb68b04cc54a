#pragma once
#include <cstdint>

// The categories and cells of the cloning program that the code names, each
// under its name in the vocabulary (CellVocabulary.cpp) and with its id there.
// Each id the code uses is defined here and nowhere else; a test walks both
// lists and checks every name and id against CloningCellVocabulary(), both
// ways. The ids are the cloning program's: code that serves another program
// through its own engine gets that program's numbers from the engine.
//
// X(name, id)
// clang-format off
#define TOLVANE_CLONING_CATEGORY_IDS(X) \
    X(CT_Null, 0) \
    X(CT_PopupMenu, 1) \
    X(CT_Mch, 2) \
    X(CT_Mch_Check, 3) \
    X(CT_UserTone, 12) \
    X(CT_BankOp, 13) \
    X(CT_MSK_IdGroup, 15) \
    X(CT_DIG_NacCh, 24) \
    X(CT_Rpt, 26)

#define TOLVANE_CLONING_CELL_IDS(X) \
    X(Flex0, 1) \
    X(Flex1, 2) \
    X(Flex2, 3) \
    X(FlexMark, 4) \
    X(FlexDtcs, 5) \
    X(FlexKeyOpt, 6) \
    X(FlexZoneSel, 8) \
    X(FlexZoneSelNum, 9) \
    X(FlexCHSel, 10) \
    X(FlexCHSelNum, 11) \
    X(CL_Menu_File_New, 12) \
    X(CL_Menu_File_Open, 13) \
    X(CL_Menu_File_Save, 14) \
    X(CL_Menu_File_SaveAs, 15) \
    X(CL_Menu_File_Print_Current, 16) \
    X(CL_Menu_File_Exit, 19) \
    X(CL_Menu_Edit_Top, 20) \
    X(CL_Menu_View_FontSize, 21) \
    X(CL_Menu_Port_Com, 23) \
    X(CL_Menu_Port_Usb, 24) \
    X(CL_Menu_Clone_Read, 26) \
    X(CL_Menu_Clone_Write, 27) \
    X(CL_Menu_Clone_Info, 28) \
    X(CL_Model_Lmr, 29) \
    X(CL_Check_Msk_IdRange, 51) \
    X(CL_Check_Msk_OwnIdGroup, 52) \
    X(CL_CloneInfo_Comment1, 59) \
    X(CL_CloneInfo_Esn, 64) \
    X(CL_PMenu_Edit, 87) \
    X(CL_PMenu_Copy, 88) \
    X(CL_PMenu_Paste, 89) \
    X(CL_PMenu_CarryUp, 90) \
    X(CL_PMenu_CarryDown, 91) \
    X(CL_PMenu_Clear, 92) \
    X(CL_PMenu_Delete, 93) \
    X(CL_PMenu_Insert, 94) \
    X(CL_PMenu_Help, 95) \
    X(CL_PMenu_WinCopy, 96) \
    X(CL_Bank_UsedTotal, 100) \
    X(CL_Mch_Rpt, 106) \
    X(CL_Misc_ChNo_0Base, 121) \
    X(CL_Mch_No, 124) \
    X(CL_Mch_Atr, 125) \
    X(CL_Mch_Inh, 126) \
    X(CL_Mch_FreqR, 127) \
    X(CL_Mch_FreqT, 128) \
    X(CL_Mch_TxInh, 129) \
    X(CL_Mch_Nar, 130) \
    X(CL_Mch_CTone_R, 131) \
    X(CL_Mch_CTone_T, 132) \
    X(CL_Mch_Text, 133) \
    X(CL_Mch_Compander, 134) \
    X(CL_Mch_PwrSave, 135) \
    X(CL_Mch_Tot, 136) \
    X(CL_Mch_RfPo, 137) \
    X(CL_Mch_Lockout, 138) \
    X(CL_Mch_Scan, 139) \
    X(CL_Mch_AutoChScan, 140) \
    X(CL_Mch_AutoReset, 141) \
    X(CL_Mch_2Tone, 142) \
    X(CL_Mch_Log, 143) \
    X(CL_Mch_Scan_Inc, 144) \
    X(CL_Mch_Scan_List, 145) \
    X(CL_Mch_Scan_ListSel, 146) \
    X(CL_Mch_Scrm_On, 147) \
    X(CL_Mch_Scrm_Type, 148) \
    X(CL_Mch_Scrm_Code, 149) \
    X(CL_Mch_Sql_Tight, 150) \
    X(CL_Mch_RxCNo2, 151) \
    X(CL_Mch_Nar_Pmr, 152) \
    X(CL_Mch_Lockout_Pmr, 153) \
    X(CL_Mch_AutoReset_Pmr, 154) \
    X(CL_Mch_Log_Pmr, 155) \
    X(CL_Mch_Moni, 156) \
    X(CL_Mch_Sel, 157) \
    X(CL_Mch_Call, 158) \
    X(CL_Mch_PTT, 159) \
    X(CL_Mch_CH_Mute, 160) \
    X(CL_Mch_Form, 161) \
    X(CL_Mch_Rpt_C, 162) \
    X(CL_Mch_Rpt_L, 163) \
    X(CL_Mch_Stn_C, 164) \
    X(CL_Mch_Stn_L, 165) \
    X(CL_Mch_Id_C, 166) \
    X(CL_Mch_Id_L, 167) \
    X(CL_Mch_Pos, 168) \
    X(CL_Mch_RxCNo, 169) \
    X(CL_Mch_RxCNoDtmf, 170) \
    X(CL_Mch_DtmfDec, 171) \
    X(CL_Mch_AutoReset_Zuro, 172) \
    X(CL_Mch_Log_Zuro, 173) \
    X(CL_Mch_TxInh_Zuro, 174) \
    X(CL_Mch_Tot_Zuro, 175) \
    X(CL_Mch_PwrSave_Zuro, 176) \
    X(CL_Mch_Scan_Zuro, 177) \
    X(CL_Mch_Moni_Zuro, 178) \
    X(CL_Mch_Sel_Zuro, 179) \
    X(CL_Mch_Call_Zuro, 180) \
    X(CL_Mch_PTT_Zuro, 181) \
    X(CL_Mch_Form_Zuro, 182) \
    X(CL_Mch_Rpt_C_Zuro, 183) \
    X(CL_Mch_Rpt_L_Zuro, 184) \
    X(CL_Mch_Msk_Sig, 185) \
    X(CL_Mch_Msk_SendStatus, 187) \
    X(CL_Mch_Msk_Rpt, 188) \
    X(CL_Mch_Msk_Stn, 189) \
    X(CL_Mch_Msk_RxCNo, 190) \
    X(CL_Mch_RxCNo2_Ltr, 191) \
    X(CL_Mch_Lockout_Dig, 192) \
    X(CL_Mch_Dig_Sig, 193) \
    X(CL_Mch_RxNac, 194) \
    X(CL_Mch_TxNac, 195) \
    X(CL_Mch_Unit_Hex, 196) \
    X(CL_Mch_Unit_Dec, 197) \
    X(CL_Mch_TG_List, 198) \
    X(CL_Mch_Fast_Mute, 199) \
    X(CL_Mch_SQL_Type, 200) \
    X(CL_Msk_AdrRange_Killer, 205) \
    X(CL_Msk_IdGroup_Adr, 206) \
    X(CL_Msk_Cfg_Status_FixBaseId, 263) \
    X(CL_Msk_Cfg_Gps_FixBaseId, 270) \
    X(CL_Digi_NacCh_TxNac, 325) \
    X(CL_Grp_RxId, 331) \
    X(CL_Grp_TxInh, 333) \
    X(CL_Grp_PhonePriv, 335) \
    X(CL_Grp_BlockIdEnable, 336) \
    X(CL_Grp_BlockIdStart, 337) \
    X(CL_Grp_BlockIdEnd, 338) \
    X(CL_Rpt_FreqR, 340) \
    X(CL_Rpt_RxDat, 342) \
    X(CL_Rpt_TxDat, 343) \
    X(CL_Rpt_Nar, 344) \
    X(CL_Rpt_Phone, 345) \
    X(CL_Rpt_Text, 346) \
    X(CL_Rpt_AreaBit, 347) \
    X(CL_Mch_AreaBit, 348) \
    X(CL_Rpt_Atr, 349) \
    X(CL_Ltr_Op_DispOnPtt, 351) \
    X(CL_Ltr_Op_DispOnRx, 352) \
    X(CL_Ltr_Op_BeepWithinRange, 353) \
    X(CL_Ltr_Op_TA_withinRange, 354) \
    X(CL_Ltr_Op_TA_OutOfRange, 355) \
    X(CL_Ltr_Op_Tim_OutOfRange, 356) \
    X(CL_Ltr_Op_NumPreBit, 357) \
    X(CL_Ltr_Op_NumHangBit, 358) \
    X(CL_Ltr_Op_Tim_FadeTimer, 359) \
    X(CL_Ltr_Op_LSD_Decoder, 360) \
    X(CL_UTone_Dec_Low, 656) \
    X(CL_UTone_Dec_High, 657) \
    X(CL_Mdc_Status_Enabled, 904) \
    X(CL_Mdc_Alias2_Strip, 909) \
    X(CL_Mdc_Alias5_Text, 924)
// clang-format on

// catid::CT_Mch, cellid::CL_Mch_FreqR...
#define TOLVANE_CELL_ID_CONSTANT(name, id) inline constexpr int32_t name = id;
namespace catid {
TOLVANE_CLONING_CATEGORY_IDS(TOLVANE_CELL_ID_CONSTANT)
} // namespace catid
namespace cellid {
TOLVANE_CLONING_CELL_IDS(TOLVANE_CELL_ID_CONSTANT)
} // namespace cellid
#undef TOLVANE_CELL_ID_CONSTANT
