// The application object: QApplication plus the program's last line of
// defence for exceptions that leave an event handler.
//
// - ui::ProgramEnd (ui::EndProgram) ends the program cleanly: the event
//   loops are told to exit with code 0.
// - ui::RtError and other exceptions are reported in a message box
//   ("Error 53 in weathers", then the description) and the program goes on
//   with the next event.
#pragma once

#include <QApplication>

#include <functional>

namespace plat {

class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    ~Application() override;
    static Application* instance();

    bool notify(QObject* receiver, QEvent* event) override;

    // Runs `startup` (creating and showing the first windows), then the
    // event loop, with the same handling of exceptions as for events.
    // Returns the program's exit code.
    int run(const std::function<void()>& startup);

    // Ends the program: onEnd when set (tests), else exit(0). Called for
    // ui::ProgramEnd.
    void requestEnd();
    bool endRequested() const { return endRequested_; }
    void resetEnd() { endRequested_ = false; }
    std::function<void()> onEnd;

    // Reports an exception that reached the event loop; `receiver` names
    // the place (its form's name).
    static void reportError(const std::exception_ptr& e, const QObject* receiver);

private:
    bool endRequested_ = false;
};

}  // namespace plat
