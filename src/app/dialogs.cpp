#include "app/dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace quillon {

void QtDialogs::showMessage(QWidget *parent, const QString &text, const QString &title, Icon icon)
{
    QMessageBox box(icon == Icon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon, title,
                    text, QMessageBox::Ok, parent);
    box.exec();
}

std::optional<QString> QtDialogs::askSaveFileName(QWidget *parent, const QString &title,
                                                  const QString &filter,
                                                  const QString &proposedName)
{
    QFileDialog dialog(parent, title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The description already names the pattern: "DAT (*.dat)|*.dat" offers "DAT (*.dat)".
    dialog.setNameFilter(filter.section(u'|', 0, 0));
    // No default suffix: a name typed without an extension is used exactly as typed.
    if (!proposedName.isEmpty())
        dialog.selectFile(proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace quillon
