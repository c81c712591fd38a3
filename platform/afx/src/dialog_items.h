// What a dialog window keeps of its items on either backend: the hosted
// controls by control ID, and the window objects that stand for items
// while the window lives.
#pragma once

// The backend's control site: its folder comes first on the include path.
#include <control_site.h>

#include <afxwin.h>

#include <map>
#include <memory>
#include <vector>

namespace afx {

class DialogItems {
public:
    DialogItems() = default;
    ~DialogItems() { release(); }
    DialogItems(const DialogItems&) = delete;
    DialogItems& operator=(const DialogItems&) = delete;

    void host(UINT controlId, std::unique_ptr<ControlSite> site) { sites_[controlId] = std::move(site); }
    ControlSite* site(UINT controlId) const {
        const auto it = sites_.find(controlId);
        return it == sites_.end() ? nullptr : it->second.get();
    }
    // Makes a window object stand for the item of `owner`; undone by
    // release.
    void bind(CWnd& window, UINT controlId, DialogWindow* owner) {
        window.m_nControlId = controlId;
        window.m_pCtrlSite = site(controlId);
        window.m_pDialogWindow = owner;
        bound_.push_back(&window);
    }
    // The window objects stand for nothing any more, then the controls go.
    void release() {
        for (CWnd* window : bound_) {
            window->m_pCtrlSite = nullptr;
            window->m_pDialogWindow = nullptr;
        }
        bound_.clear();
        sites_.clear();
    }

private:
    std::map<UINT, std::unique_ptr<ControlSite>> sites_;
    std::vector<CWnd*> bound_;
};

}  // namespace afx
