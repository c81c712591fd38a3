#pragma once

#include <afxwin.h>

#include <string>

// The preferences dialog: it only shows the plug-in's name and version.
class DlgConfig : public CDialog {
public:
    explicit DlgConfig(CWnd* parent = nullptr);
    ~DlgConfig() override;

    std::u16string text;

protected:
    void DoDataExchange(CDataExchange* exchange) override;
};
