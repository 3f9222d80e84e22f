// Resource and control identifiers of QuillfernCfg.exe, by dialog.
#pragma once

#define IDI_QUILLFERN_CFG 128

// Main dialog (CTolvaCfgDlg).
#define IDD_TOLVACFG_DIALOG 102
#define IDS_ABOUTBOX 101
#define IDC_APPLY 1022
#define IDC_MINIMISE 1030
#define IDC_CLOSE_BUTTON 1031
#define IDC_MANUAL 1032
#define IDC_RATE_125 1056
#define IDC_RATE_500 1057
#define IDC_RATE_1000 1058
#define IDC_PERFORMANCE_SLIDERS 1100
#define IDC_SENSITIVITY_X 1101
#define IDC_SENSITIVITY_Y 1102
#define IDC_ACCELERATION 1103
#define IDC_ENABLE_ACCELERATION 1104
