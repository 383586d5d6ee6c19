// The application object: the hidden application window that owns every form
// and carries the task-bar button and its title, and the message loop with
// its idle handler.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

// The module that holds this copy of the framework: the program, or a DLL
// that links the framework too (hrl_spi.dll). Window classes are registered
// per module, so the two copies in one process never share a class.
HINSTANCE ModuleInstance();

// A window property name of this module's own (the name followed by the
// module handle): each copy of the framework finds its objects on the
// windows it made and never takes the other copy's windows for its own.
std::wstring ModuleProperty(const wchar_t* name);

// Registers a window class of this module with double-clicks, the arrow
// cursor and the program icon (if the module has one); true when the class
// exists afterwards.
bool RegisterWindowClass(const wchar_t* name, WNDPROC windowProc, HBRUSH background = nullptr);

// The path of a file in the program's folder, an ANSI text: the folder
// without a trailing backslash, a backslash, and the name.
std::string ProgramFolderFile(std::string_view name);

class Form;

class Application {
public:
    static Application& instance();

    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The task-bar text (the application window's caption); also the caption
    // of the error report.
    void setTitle(const std::wstring& title);
    const std::wstring& title() const { return title_; }

    // The path of the program's help file (an ANSI text).
    void setHelpFile(std::string path) { helpFile_ = std::move(path); }
    const std::string& helpFile() const { return helpFile_; }

    // Called whenever the message queue is empty. The handler starts with
    // done == true; leaving it true lets the loop wait for the next message,
    // setting it to false makes the loop call the handler again at once.
    using IdleHandler = std::function<void(bool& done)>;
    void setOnIdle(IdleHandler handler);
    void clearOnIdle();
    bool hasIdleHandler() const;

    // Shows the main form (creating it first if needed) and runs the message
    // loop until the main form is destroyed (or WM_QUIT arrives). Returns 0.
    int run(Form& mainForm);
    Form* mainForm() const { return mainForm_; }

    // Handles every message waiting in the queue, without idling.
    void processMessages();

    // Handles one waiting message; with none, runs the idle handler and,
    // when that is done (or there is none), waits for the next message and
    // handles it. The step of both the main loop and the modal loop of
    // Form::showModal.
    void loopStep();
    // True once WM_QUIT arrived, until run() returns; every loop then ends.
    bool terminated() const { return terminated_; }

    // The application window: owner of all forms, holder of the task-bar button.
    HWND handle() const { return handle_; }

    // Hides the forms and minimises the application window to its task-bar
    // button (what minimising the main form does); restoring the application
    // window shows them again.
    void minimize();

private:
    Application();
    ~Application();

    void handleMessage(MSG& message);
    bool handleShortcut(const MSG& message);
    bool handleDialogKeys(MSG& message);
    // Runs the idle handler; true when it is done (the loop may wait).
    bool idle();
    void restore();
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND handle_ = nullptr;
    std::wstring title_;
    std::string helpFile_;
    IdleHandler onIdle_;
    Form* mainForm_ = nullptr;
    bool terminated_ = false;
    std::vector<HWND> hiddenForms_;
    bool minimized_ = false;
};

}  // namespace fw
