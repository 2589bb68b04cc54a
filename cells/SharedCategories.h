#pragma once
// Categories 0 to 24 of the cell vocabulary, which both programs have under
// the same names and in the same places. Each takes the record kind of its
// name from the program's own kind enum, so the list is expanded where that
// enum's names are in scope; the kind of the text editor's records is the
// program's to name.
// clang-format off
#define TOLVANE_SHARED_CATEGORIES(textKind) \
    {"CT_Null", 0},                                      /*  0 */ \
    {"CT_PopupMenu", 0},                                 /*  1 */ \
    {"CT_Mch", CellVocabulary::kModelClassKind},         /*  2 */ \
    {"CT_Mch_Check", CellVocabulary::kModelClassKind},   /*  3 */ \
    {"CT_CEdit", textKind},                              /*  4 */ \
    {"CT_DTMF", kindDigitMemory},                        /*  5 */ \
    {"CT_Scan", kindScanList},                           /*  6 */ \
    {"CT_CTone", kindTonePair},                          /*  7 */ \
    {"CT_RX_Code", kindFiveToneRx},                      /*  8 */ \
    {"CT_TX_Code", kindFiveToneTx},                      /*  9 */ \
    {"CT_2Tone_Code", kindTwoTone},                      /* 10 */ \
    {"CT_2ToneTX_Common", kindTwoToneCommon},            /* 11 */ \
    {"CT_UserTone", kindUserTone},                       /* 12 */ \
    {"CT_BankOp", kindBank},                             /* 13 */ \
    {"CT_MSK_AdrRange", 0},                              /* 14 */ \
    {"CT_MSK_IdGroup", kindMskIdGroup},                  /* 15 */ \
    {"CT_MSK_CallList", kindMskCallList},                /* 16 */ \
    {"CT_MSK_Msg_Status", kindMskStatus},                /* 17 */ \
    {"CT_MSK_Msg_ShortTxt", kindMskShortText},           /* 18 */ \
    {"CT_MSK_TimingErr", 0},                             /* 19 */ \
    {"CT_MSK_Cfg", 0},                                   /* 20 */ \
    {"CT_DIG_Inv", kindDigitalIndividual},               /* 21 */ \
    {"CT_DIG_Tg", kindDigitalGroup},                     /* 22 */ \
    {"CT_DIG_Op", 0},                                    /* 23 */ \
    {"CT_DIG_NacCh", kindNac}                            /* 24 */
// clang-format on
