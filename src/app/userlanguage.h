#pragma once

#include <QLocale>
#include <QTranslator>

namespace quillon {

// Quillon's texts and Qt's own (the buttons and labels of the standard dialogs) in a locale's
// language, installed in the application while this object lives. Where Quillon has no
// translation for the language, the window stays in English.
class UserLanguage {
public:
    explicit UserLanguage(const QLocale &locale);
    ~UserLanguage();
    UserLanguage(const UserLanguage &) = delete;
    UserLanguage &operator=(const UserLanguage &) = delete;

    // Whether Quillon's own texts are translated.
    bool isTranslated() const { return m_ownInstalled; }

private:
    QTranslator m_qt;
    QTranslator m_own;
    bool m_qtInstalled = false;
    bool m_ownInstalled = false;
};

} // namespace quillon
