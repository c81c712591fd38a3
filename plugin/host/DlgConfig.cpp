#include "DlgConfig.h"

#include "resource.h"

DlgConfig::DlgConfig(CWnd* parent) : CDialog(IDD_CONFIG, parent) {}

DlgConfig::~DlgConfig() = default;

void DlgConfig::DoDataExchange(CDataExchange* exchange) {
    CDialog::DoDataExchange(exchange);
    DDX_Text(exchange, IDC_MESSAGE_TEXT, text);
}
