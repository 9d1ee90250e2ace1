#pragma once

#include <QObject>

namespace quillon {

// While a walk runs on the window's thread, the window keeps repainting but must not act on
// clicks or keys: this holds back every input event of the application and notes Esc, which
// asks the walk to stop. Installed for as long as the object lives.
class WalkInputGuard : public QObject {
    Q_OBJECT
public:
    WalkInputGuard();
    ~WalkInputGuard() override;

    bool stopRequested() const { return m_stopRequested; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool m_stopRequested = false;
};

} // namespace quillon
