#include "app/userlanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace quillon {

UserLanguage::UserLanguage(const QLocale &locale)
{
    // Quillon's translations are built into the program; Qt's come with Qt.
    m_ownInstalled = m_own.load(locale, QStringLiteral("quillon"), QStringLiteral("_"),
                                QStringLiteral(":/i18n")) &&
                     QCoreApplication::installTranslator(&m_own);
    if (!m_ownInstalled)
        return;
    m_qtInstalled = m_qt.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                              QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
                    QCoreApplication::installTranslator(&m_qt);
}

UserLanguage::~UserLanguage()
{
    if (m_qtInstalled)
        QCoreApplication::removeTranslator(&m_qt);
    if (m_ownInstalled)
        QCoreApplication::removeTranslator(&m_own);
}

} // namespace quillon
