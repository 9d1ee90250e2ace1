#include "app/readernames.h"

#include <QCoreApplication>
#include <QLabel>
#include <QWidget>

namespace quillon {

void nameControlsForReaders(QWidget &window)
{
    struct Name {
        const char *objectName;
        const char *readerName;
    };
    // Buttons, the frame and the caption are read by their own text; these need a name.
    static constexpr Name names[] = {
        {"Drive1", QT_TRANSLATE_NOOP("ReaderNames", "Drive")},
        {"Dir1", QT_TRANSLATE_NOOP("ReaderNames", "Folders")},
        {"optOutPutType_0", QT_TRANSLATE_NOOP("ReaderNames", ".DAT list")},
        {"optOutPutType_1", QT_TRANSLATE_NOOP("ReaderNames", ".HTML page or bookmarks")},
        {"gridTable", QT_TRANSLATE_NOOP("ReaderNames", "Links found")},
        {"jobProgress", QT_TRANSLATE_NOOP("ReaderNames", "Progress")},
    };
    for (const Name &name : names) {
        auto *control = window.findChild<QWidget *>(QLatin1String(name.objectName));
        Q_ASSERT_X(control, "nameControlsForReaders", name.objectName);
        if (control)
            control->setAccessibleName(QCoreApplication::translate("ReaderNames", name.readerName));
    }
    // On Linux a combo box is read by its value; readers take its name from the label it is
    // the buddy of. The classic layout shows none, so the label stays hidden.
    if (auto *drives = window.findChild<QWidget *>(QStringLiteral("Drive1"))) {
        auto *label = new QLabel(drives->accessibleName(), &window);
        label->setObjectName(QStringLiteral("Drive1Label"));
        label->setBuddy(drives);
        label->hide();
    }
}

} // namespace quillon
