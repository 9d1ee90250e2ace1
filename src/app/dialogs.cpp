#include "app/dialogs.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

namespace quillon {

int titleBarWidth(const QWidget &window, const QString &title)
{
    // Room for the title, set in a bold face as most title bars do, plus the window
    // manager's icon and its close, minimise and maximise buttons.
    QFont font = window.font();
    font.setBold(true);
    constexpr int frameControls = 4 * 32;
    return QFontMetrics(font).horizontalAdvance(title) + frameControls;
}

void QtDialogs::showMessage(QWidget *parent, const QString &text, const QString &title, Icon icon)
{
    QMessageBox box(icon == Icon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon, title,
                    text, QMessageBox::Ok, parent);
    // A message box sizes itself to its text and buttons only, so a short or empty text
    // leaves too little room for the title bar to show its title; QMessageBox ignores a
    // minimum width, but its grid layout keeps a spacer's.
    if (auto *grid = qobject_cast<QGridLayout *>(box.layout())) {
        grid->addItem(new QSpacerItem(titleBarWidth(box, title), 0, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
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
