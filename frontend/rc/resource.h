// resource.h: the names of the resource ids of kvr's script Jux.rc and of
// kvrsetup's script kvrsetup.rc, which both include it. The resource
// compiler reads the numbers with atol, so every id is a decimal number.
// The programs use the numbers themselves; these names serve the scripts.
// IDOK, IDCANCEL, IDYES, IDNO, IDC_STATIC and ID_APP_ABOUT are predefined
// by the compiler and must not be defined here.

// ---- kvr: menus, dialogs and bitmaps
#define IDR_BARMENU                     4
#define IDD_ABOUTBOX                    100
#define IDD_KEYMAP                      105
#define IDD_ZIORDER                     106
#define IDD_INPUTOPTIONS                108
#define IDD_FINDSAYING                  110
#define IDD_MSGBOX                      112
#define IDD_TIPS                        113
#define IDD_BARSTYLE                    114
#define IDB_TIPS                        120
#define IDB_BIHUA                       131
#define IDB_BARSHEET                    161
#define IDB_ARROWS_PARALLEL             172
#define IDB_ARROWS                      173
#define IDB_FORECAST                    175

// ---- kvr: controls
#define IDC_CANDNUM                     1006
#define IDC_TIPSHOWATSTART              1035
#define IDC_NEXTTIP                     1046
#define IDC_PREVTIP                     1049
#define IDC_EXCLUDE_COMMON              1061
#define IDC_RESERVED                    1062
#define IDC_PINYIN                      1063
#define IDC_EXCLUDE_MORE                1063
#define IDC_EXCLUDE_ALL                 1064
#define IDC_SHOWTIP                     1065
#define IDC_FLOATPANE                   1066
#define IDC_CIZU                        1067
#define IDC_TIPONSTATUSBAR              1068
#define IDC_NUM1SAMEASNUM2              1069
#define IDC_SHUANGPIN                   1070
#define IDC_SINGLECHARMULTIROW          1071
#define IDC_PYWITHRADICALS              1072
#define IDC_LONECTRLSWITCH              1073
#define IDC_TIPTEXT                     1074
#define IDC_PARALLELSEL                 1075
#define IDC_PARALLELSEL_NOTE            1076
#define IDC_SHIFTALPHA                  1077
#define IDC_FORECAST                    1078
#define IDC_CANDORDER                   1079
#define IDC_FUZZYPY                     1080
#define IDC_FUZZY_ZH                    1081
#define IDC_FUZZY_CH                    1082
#define IDC_FUZZY_SH                    1083
#define IDC_FUZZY_LR                    1084
#define IDC_FUZZYDEGREE                 1085
#define IDC_REORDER                     1089
#define IDC_COMMIT                      1090
#define IDC_CANCELORDER                 1091
#define IDC_ZIGRID                      1092
#define IDC_RESULTS                     1097
#define IDC_SHUANGPINSCHEME             1108
#define IDC_BARSTYLE_MODERN             1109
#define IDC_BARSTYLE_CLASSIC            1110
#define IDC_FINDTEXT                    1124
#define IDC_NORESTRICT                  1126
#define IDC_COUNT_WORDS                 1127
#define IDC_SAYINGS                     1128
#define IDC_POEMS                       1129
#define IDC_XIEHOUYU                    1130
#define IDC_COUNT_SAYINGS               1131
#define IDC_COUNT_POEMS                 1132
#define IDC_COUNT_XIEHOUYU              1133
#define IDC_COUNT_INRESULT              1134
#define IDC_FIND                        1135
#define IDC_FINDINRESULT                1136
#define IDC_DETAIL                      1137
#define IDC_IKEY_IMODE                  1138
#define IDC_UKEY_NUMMODE                1139

// ---- kvr: commands of the bar's menu
#define ID_INPUTMODE_TOGGLE             105
#define ID_SHOWKEYMAP                   57713
#define ID_INPUT_CHNNUM                 57720
#define ID_INPUT_CHNNUM_FANTI           57721
#define ID_README_GUIDE                 57727
#define ID_OPTION_CHNPUNCT              57728
#define ID_README_TEXT                  57729
#define ID_README_KVR                   57732
#define ID_UI_ENGLISH                   57734
#define ID_APP_TIPS                     57735
#define ID_CLEAR_INPUT                  57740
#define ID_INPUT_OPTIONS                57741
#define ID_TOGGLE_INPUTMETHOD           57750
#define ID_FANTI_TOGGLE                 57753
#define ID_INPUT_CIZU                   57754
#define ID_VIEW_CIRESELECT              57765
#define ID_SLEEP_PLATFORM               57767
#define ID_OPTION_FULLSIZE              57769
#define ID_HELP_NEWWORDS                57770
#define ID_ADDSPACE                     57773
#define ID_UI_SIMPLIFIED                57774
#define ID_UI_TRADITIONAL               57775
#define ID_BARSTYLE                     57776
#define ID_HELP_SYMBOLS                 57780
#define ID_FIND_SAYING                  57782

// ---- kvrsetup: the wizard (dialog 113 of kvrsetup.rc) and its controls
#define IDD_SETUPWIZARD                 113
#define IDC_BACK                        3
#define IDC_ALLUSERS                    163
#define IDC_OWNSCRIPTS                  191
#define IDC_NEXT                        1001
#define IDC_INSTALLDIR                  1002
#define IDC_OTHERLICENSE                1010
#define IDC_LICENSETEXT                 1014
#define IDC_PAGE0_NOTE                  1015
#define IDC_PAGE1_NOTE                  1018
#define IDC_SETUP_TITLE                 1021
#define IDC_PROGRESS                    1026
#define IDC_PAGE0_DIRLABEL              1027
