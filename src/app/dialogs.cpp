#include "app/dialogs.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

#include <algorithm>

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

bool QtDialogs::askYesNo(QWidget *parent, const QString &text, const QString &title)
{
    return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

namespace {

// "DAT (*.dat)|*.dat|..." offers "DAT (*.dat)", ...: each description already names its
// pattern.
QStringList nameFilters(const QString &filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList names;
    for (qsizetype i = 0; i < parts.size(); i += 2)
        names << parts[i];
    return names;
}

} // namespace

std::optional<QString> QtDialogs::askSaveFileName(QWidget *parent, const QString &title,
                                                  const QString &filter,
                                                  const QString &proposedName)
{
    int firstType = 0;
    return askSaveFileNameAndType(parent, title, filter, proposedName, &firstType);
}

std::optional<QString> QtDialogs::askSaveFileNameAndType(QWidget *parent, const QString &title,
                                                         const QString &filter,
                                                         const QString &proposedName,
                                                         int *chosenType)
{
    QFileDialog dialog(parent, title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const QStringList types = nameFilters(filter);
    dialog.setNameFilters(types);
    // No default suffix here: the window adds the chosen type's extension itself, and asks
    // before that name replaces a file.
    if (*chosenType >= 0 && *chosenType < types.size())
        dialog.selectNameFilter(types[*chosenType]);
    if (!proposedName.isEmpty())
        dialog.selectFile(proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    *chosenType = int(std::max<qsizetype>(0, types.indexOf(dialog.selectedNameFilter())));
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> QtDialogs::askOpenFileName(QWidget *parent, const QString &title,
                                                  const QString &filter, const QString &folder)
{
    QFileDialog dialog(parent, title, folder);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(nameFilters(filter));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace quillon
