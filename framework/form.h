// Forms: the top-level windows of the program. A window is a subclass of Form
// with its controls as members, added in tab order in its constructor.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace fw {

class Control;
class OffscreenBuffer;
class GraphicControl;
class PopupMenu;

enum class BorderStyle { None, Single, Dialog };

enum ModalResult { mrNone = 0, mrOk = 1, mrCancel = 2 };

struct FormSpec {
    std::wstring caption;
    int clientWidth = 0;
    int clientHeight = 0;
    BorderStyle border = BorderStyle::Single;
    bool minimizeBox = true;  // with BorderStyle::Single only
    bool topmost = false;
    bool centered = false;    // centred on the work area when created
    int left = 0;             // position of the window when not centred
    int top = 0;
};

class Form {
public:
    explicit Form(FormSpec layout);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    // Creates the window hidden, then its controls in the order they were
    // added, then calls onCreate(). Does nothing when already created.
    void create();
    HWND handle() const { return handle_; }
    // The form of a window handle (of the form itself), or null.
    static Form* fromHandle(HWND window);

    void show();
    void hide();
    bool visible() const { return visible_; }

    // Runs a modal loop: the other forms are disabled, the idle handler and
    // the timers keep running. Returns the modal result (mrCancel when the
    // form was closed without one).
    int showModal();
    void setModalResult(int result);
    bool modal() const { return modal_; }

    // Asks onCloseQuery() first; then runs onClose() and destroys the main
    // form (ending the main loop) or hides any other form; a modal form ends
    // its loop instead (onClose runs once the loop is left). False when
    // onCloseQuery refused.
    bool close();

    void setCaption(const std::wstring& caption);
    const std::wstring& caption() const { return spec_.caption; }

    // The client area is exact in every border style.
    void setClientSize(int width, int height);
    void setClientWidth(int width);
    void setClientHeight(int height);
    SIZE clientSize() const;

    // Keeps the window's outer rectangle, so the client area changes.
    void setBorderStyle(BorderStyle border);
    BorderStyle borderStyle() const { return spec_.border; }

    void setTopmost(bool topmost);
    bool topmost() const { return spec_.topmost; }

    POINT position() const;
    void moveTo(int left, int top);

    // The font of every form and control: "ＭＳ Ｐゴシック", 12 px, Shift-JIS.
    HFONT font() const { return sharedFont(); }
    static HFONT sharedFont();

    void setPopupMenu(PopupMenu* menu) { popupMenu_ = menu; }

    void invalidate();
    void update();

    const std::vector<Control*>& controls() const { return controls_; }

protected:
    // Registers a control (parent: a windowed container, or null for the form).
    // Controls added after create() are created at once.
    void add(Control& control, Control* parent = nullptr);

    virtual void onCreate() {}
    // Runs each time the form is about to be shown; a modal form that sets
    // its result here is not shown at all.
    virtual void onShow() {}
    // Whether a close request may go ahead.
    virtual bool onCloseQuery() { return true; }
    virtual void onClose() {}
    // The form's own painting; runs only where no opaque graphic control
    // covers the area to paint. The DC is an off-screen buffer.
    virtual void onPaint(HDC) {}
    virtual void onDblClick() {}

    // Every message of the window comes here; overrides call Form::wndProc
    // for what they do not handle.
    virtual LRESULT wndProc(UINT message, WPARAM wParam, LPARAM lParam);

private:
    friend class Application;
    friend class Control;

    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void createControl(Control& control);
    void forget(Control& control);
    void paint();
    void runClose();
    bool handleShortcut(const MSG& message);
    bool handleDialogKey(const MSG& message);
    bool hasWindowedControls() const;
    void applyFrame(DWORD style, DWORD exStyle, int clientWidth, int clientHeight, UINT flags);
    void focusFirstControl();
    void applyTopmost();

    FormSpec spec_;
    HWND handle_ = nullptr;
    bool visible_ = false;
    bool modal_ = false;
    int modalResult_ = mrNone;
    PopupMenu* popupMenu_ = nullptr;
    HWND lastFocus_ = nullptr;
    // The off-screen picture of the client area that paints compose in,
    // kept while the form is shown (a repaint a second then makes no bitmap).
    std::unique_ptr<OffscreenBuffer> paintBuffer_;
    std::vector<Control*> controls_;
};

}  // namespace fw
