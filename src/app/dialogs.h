#pragma once

#include <QString>
#include <QtGlobal>

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

    // A question with Yes and No buttons; true for Yes.
    virtual bool askYesNo(QWidget *parent, const QString &text, const QString &title) = 0;

    // Asks for the name of a file to write. filter is "Description (*.ext)|*.ext"; the dialog
    // asks before an existing file is replaced. Empty optional when the user cancelled.
    virtual std::optional<QString> askSaveFileName(QWidget *parent, const QString &title,
                                                   const QString &filter,
                                                   const QString &proposedName) = 0;

    // The same, offering several file types: filter holds "Description|pattern" pairs joined
    // by "|". chosenType gives the index of the pair offered first, and receives the index of
    // the pair picked. A dialog that offers one type only answers with the first.
    virtual std::optional<QString> askSaveFileNameAndType(QWidget *parent, const QString &title,
                                                          const QString &filter,
                                                          const QString &proposedName,
                                                          int *chosenType)
    {
        *chosenType = 0;
        return askSaveFileName(parent, title, filter.section(u'|', 0, 1), proposedName);
    }

    // Asks for an existing file to read, filter as above, starting in folder (when given).
    // Empty optional when the user cancelled, or where no such dialog can be shown.
    virtual std::optional<QString> askOpenFileName(QWidget *parent, const QString &title,
                                                   const QString &filter, const QString &folder)
    {
        Q_UNUSED(parent);
        Q_UNUSED(title);
        Q_UNUSED(filter);
        Q_UNUSED(folder);
        return std::nullopt;
    }
};

// The width a window needs for its title bar to show title whole.
int titleBarWidth(const QWidget &window, const QString &title);

// The real dialogs: QMessageBox and QFileDialog.
class QtDialogs final : public Dialogs {
public:
    void showMessage(QWidget *parent, const QString &text, const QString &title,
                     Icon icon) override;
    bool askYesNo(QWidget *parent, const QString &text, const QString &title) override;
    std::optional<QString> askSaveFileName(QWidget *parent, const QString &title,
                                           const QString &filter,
                                           const QString &proposedName) override;
    std::optional<QString> askSaveFileNameAndType(QWidget *parent, const QString &title,
                                                  const QString &filter,
                                                  const QString &proposedName,
                                                  int *chosenType) override;
    std::optional<QString> askOpenFileName(QWidget *parent, const QString &title,
                                           const QString &filter, const QString &folder) override;
};

} // namespace quillon
