#pragma once

#include <QString>

#include <optional>

class QWidget;

namespace quillon {

// Every modal question the window asks goes through here, so that tests can answer them.
class Dialogs {
public:
    enum class Icon { None, Critical };

    virtual ~Dialogs() = default;

    // A message with an OK button; returns when the user dismissed it.
    virtual void showMessage(QWidget *parent, const QString &text, const QString &title,
                             Icon icon) = 0;

    // Asks for the name of a file to write. filter is "Description (*.ext)|*.ext"; the dialog
    // asks before an existing file is replaced. Empty optional when the user cancelled.
    virtual std::optional<QString> askSaveFileName(QWidget *parent, const QString &title,
                                                   const QString &filter,
                                                   const QString &proposedName) = 0;
};

// The width a window needs for its title bar to show title whole.
int titleBarWidth(const QWidget &window, const QString &title);

// The real dialogs: QMessageBox and QFileDialog.
class QtDialogs final : public Dialogs {
public:
    void showMessage(QWidget *parent, const QString &text, const QString &title,
                     Icon icon) override;
    std::optional<QString> askSaveFileName(QWidget *parent, const QString &title,
                                           const QString &filter,
                                           const QString &proposedName) override;
};

} // namespace quillon
