// For start-up measurements: with TAVIMOR_EXIT_ON_FIRST_WINDOW set, the
// program ends the moment its first window is exposed on the screen, so that
// a benchmark times the whole way from exec to a window the user can see. The
// editor and the minimal program it is compared with (bench/) both carry it.
#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QWindow>

#include <cstdio>
#include <cstdlib>

namespace {

class FirstExposure : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Expose) {
            const auto* window = qobject_cast<QWindow*>(watched);
            if (window && window->isExposed()) {
                std::fflush(nullptr);
                // Nothing else is to run: the measurement ends here.
                std::_Exit(0);
            }
        }
        return false;
    }
};

void WatchForTheFirstWindow()
{
    if (qEnvironmentVariableIsEmpty("TAVIMOR_EXIT_ON_FIRST_WINDOW"))
        return;
    auto* application = QCoreApplication::instance();
    application->installEventFilter(new FirstExposure(application));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(WatchForTheFirstWindow)
