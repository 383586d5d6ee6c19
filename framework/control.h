// Controls: windowed ones (a child window of their own) and graphic ones
// (no window; painted by their host window in z order into an off-screen
// buffer). The graphic controls are in framework/graphic_controls.h.
#pragma once

#include "framework/gdi.h"

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <optional>
#include <string>

namespace fw {

class Form;

struct Bounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// State set before the control is created is kept and applied at creation.
class Control {
public:
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    Bounds bounds() const { return bounds_; }
    void setBounds(Bounds bounds);
    void setVisible(bool visible);
    bool visible() const { return visible_; }
    void setEnabled(bool enabled);
    bool enabled() const { return enabled_; }
    void setCaption(const std::wstring& caption);
    const std::wstring& caption() const { return caption_; }

    std::function<void()> onClick;
    std::function<void()> onDblClick;

    // Marks the control's rectangle for repainting / repaints it now.
    void invalidate();
    void update();

    // The control's own window (null for graphic controls and before creation).
    virtual HWND handle() const { return nullptr; }
    virtual bool windowed() const = 0;
    bool created() const { return created_; }

    Form* form() const { return form_; }
    Control* parent() const { return parent_; }
    // The window that shows this control: the parent container's or the form's.
    HWND hostHandle() const;
    HFONT font() const;

protected:
    explicit Control(Bounds bounds, std::wstring caption = {});

    // Creates the control's window (windowed controls) or marks it shown.
    virtual void createControl() = 0;
    // Called after the corresponding state changed on a created control.
    virtual void boundsChanged(const Bounds& old) = 0;
    virtual void visibleChanged() = 0;
    virtual void enabledChanged() = 0;
    virtual void captionChanged() = 0;

    // Sets the bounds without notifying (for controls that size themselves).
    void storeBounds(Bounds bounds) { bounds_ = bounds; }

private:
    friend class Form;

    Form* form_ = nullptr;
    Control* parent_ = nullptr;
    Bounds bounds_;
    std::wstring caption_;
    bool visible_ = true;
    bool enabled_ = true;
    bool created_ = false;
};

// A control without a window, drawn by its host window.
class GraphicControl : public Control {
public:
    bool windowed() const final { return false; }
    // True when the control paints every pixel of its rectangle.
    virtual bool opaque() const { return false; }
    RECT rect() const;
    // Paints the control; the DC's origin is the control's top-left corner,
    // its clip region the control's rectangle, the form's font selected.
    virtual void paint(HDC dc) = 0;

protected:
    using Control::Control;
    void createControl() override;
    void boundsChanged(const Bounds& old) override;
    void visibleChanged() override;
    void enabledChanged() override;
    void captionChanged() override;
};

// A control with a child window of its own. Subclasses create their window in
// createHandle() with createWindow(); the window's messages then pass
// wndProc(), and notifications for it (WM_COMMAND, WM_NOTIFY, WM_CTLCOLOR*)
// arrive reflected at command(), notify() and ctlColor().
class WindowedControl : public Control {
public:
    ~WindowedControl() override;
    HWND handle() const override { return handle_; }
    bool windowed() const final { return true; }
    int id() const { return id_; }
    static WindowedControl* fromHandle(HWND window);
    // A plain window class for containers (pages, panels): button-face
    // background, double-clicks; graphic controls inside are painted over it.
    static const wchar_t* panelClass();

protected:
    explicit WindowedControl(Bounds bounds, std::wstring caption = {});

    virtual void createHandle() = 0;
    // Creates the child window at the control's bounds with its caption,
    // visibility, enabled state, the form's font and the control id.
    HWND createWindow(const wchar_t* className, DWORD style, DWORD exStyle = 0);
    // The id of the child window; IDOK / IDCANCEL make Enter / Esc click it.
    void setId(int id) { id_ = id; }

    virtual bool command(WORD /*code*/) { return false; }
    // A key press in the control's form that the form offers its controls
    // before the dialog manager moves the focus with it; true when the
    // control took it. The controls around the focus are asked first.
    virtual bool dialogKey(const MSG& /*message*/) { return false; }
    virtual bool notify(NMHDR* /*header*/, LRESULT& /*result*/) { return false; }
    virtual HBRUSH ctlColor(HDC /*dc*/) { return nullptr; }
    virtual LRESULT wndProc(UINT message, WPARAM wParam, LPARAM lParam);

    void createControl() override;
    void boundsChanged(const Bounds& old) override;
    void visibleChanged() override;
    void enabledChanged() override;
    void captionChanged() override;

private:
    friend class Form;
    // Hands a notification from a child window (WM_COMMAND, WM_NOTIFY,
    // WM_CTLCOLOR*) to that child's control; true when it handled it.
    static bool reflect(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    static LRESULT CALLBACK subclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR idSubclass, DWORD_PTR refData);
    HWND handle_ = nullptr;
    int id_;
};

}  // namespace fw
