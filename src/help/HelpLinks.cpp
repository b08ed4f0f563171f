#include "help/HelpLinks.h"

namespace ravnobor::links {

QUrl webPageUrl() {
    return QUrl(QString::fromUtf16(WebPage), QUrl::StrictMode);
}

QUrl mailUrl() {
    // Built from encoded bytes so that nothing re-encodes the subject on the way.
    const QByteArray encoded = "mailto:" + QString::fromUtf16(MailAddress).toUtf8() +
                               "?subject=" + QUrl::toPercentEncoding(QString::fromUtf16(MailSubject));
    return QUrl::fromEncoded(encoded, QUrl::StrictMode);
}

QString shownWebAddress() {
    return webPageUrl().host();
}

QString shownMailAddress() {
    return QString::fromUtf16(MailAddress);
}

} // namespace ravnobor::links
