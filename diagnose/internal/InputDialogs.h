#pragma once
// The small modal dialogs that collect the parameters of a diagnosis request, the device
// address and a free result text. Every dialog procedure is exported under its own name;
// the launchers open them from the language library with the parameter block.
#include "framework/core/WinTypes.h"
#include "framework/ui/DialogApi.h"

#include <cstddef>
#include <optional>
#include <string_view>

// Template ids in the language library.
constexpr UINT IDD_EDIT_RESULT = 0xC3;
constexpr UINT IDD_RSP_TIME = 0xC6;
constexpr UINT IDD_SEGMENT_COUNT = 0xC7;
constexpr UINT IDD_MV_PARTIAL = 0xC9;
constexpr UINT IDD_SENSOR_ADR = 0xCA;
constexpr UINT IDD_FIELD_NR = 0xCB;
constexpr UINT IDD_ZOK_NR = 0xCC;
constexpr UINT IDD_ZOK_FIELD_NR = 0xCD;
constexpr UINT IDD_DYN_SF_KFG = 0xCE;
constexpr UINT IDD_AGL_MODE = 0xCF;
constexpr UINT IDD_MEM_DUMP = 0xD1;
constexpr UINT IDD_HCODE = 0xD2;
constexpr UINT IDD_DEVICE_ADR = 0xD3;
constexpr UINT IDD_LMODE_DATA = 0xD8;
constexpr UINT IDD_AVERAGE_MV = 0xD9;
constexpr UINT IDD_UWF_NR = 0xDA;
constexpr UINT IDD_WA_TIME = 0xDB;
constexpr UINT IDD_SF_KFG_CIRCLE = 213;
constexpr UINT IDD_SF_KFG_RECTANGLE = 214;
constexpr UINT IDD_SF_KFG_SEGMENT = 215;

// Sizes of the parameter blocks.
constexpr std::size_t kSmallBlockSize = 4;
constexpr std::size_t kZOKFieldNrBlockSize = 2;
constexpr std::size_t kMVPartialBlockSize = 10;
constexpr std::size_t kShapeBlockSize = 1464;
constexpr std::size_t kHcodeBlockSize = 9;
constexpr std::size_t kDeviceAddressBlockSize = 4;
constexpr std::size_t kLModeDataBlockSize = 11;
constexpr std::size_t kDynamicFieldBlockSize = 104;
constexpr std::size_t kMemDumpBlockSize = 8;
// The edit-result buffer takes at most this many characters and a NUL.
constexpr int kEditResultMaxLength = 254;

// A number typed as decimal digits, or as hexadecimal digits after the first "x" or "X"
// (characters before it are ignored). Any other character gives 0xFFFF, an empty text 0.
DWORD ParseNumber(std::string_view text);
// The same, but empty for a text that is not a number.
std::optional<DWORD> ParseNumberChecked(std::string_view text);

// Places the dialog over the parent's client area, or the screen without a parent, and
// keeps it on the screen.
void CentreInputDialog(HWND hDlg);

extern "C" {
INT_PTR EditResultDlgProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR MemDumpDlgProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR HcodeDlgProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR WATimeDlgProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR AglModeDlgProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR UWFNrDlgProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR FieldNrDlgProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR ZOKNrDlgProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR RspTimeDlgProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR SensorAdrDlgProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR DeviceAdrDlgProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR ZOKFieldNrDlgProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR LModeDataDlgProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR AverageMVDlgProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR SegmentCountDlgProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR MVPartialDlgProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR SfKfgCircleDlgProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR SfKfgRectangleDlgProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR SfKfgSegmentDlgProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR DynSfKfgDlgProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR UWFDefDlgProc(HWND, UINT, WPARAM, LPARAM);
INT_PTR ORUKfgDlgProc(HWND, UINT, WPARAM, LPARAM);
}

// Opens a dialog of the language library modal with the block; the dialog's result
// (1 confirmed, 0 not), -1 when the template is missing.
INT_PTR RunInputDialog(HWND parent, UINT templateId, DLGPROC procedure, void* block);
// Shape dialog by shape code: 0 rectangle, 1 circle, 2 or 3 segment; codes 4 to 255
// open nothing and count as confirmed.
INT_PTR RunShapeDialog(HWND parent, int shapeCode, void* block);
// The two dialogs that no longer exist: a message box, then 1.
INT_PTR RunUWFDefDialog(HWND parent);
INT_PTR RunORUKfgDialog(HWND parent);
