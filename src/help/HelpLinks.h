#pragma once

#include <QString>
#include <QUrl>

namespace ravnobor::links {

// The program's web page and the developers' mailbox. Both stay under the reserved
// domain example.org until the project has an address of its own. The shown forms
// are short on purpose: the about box has room for a host and a bare address only.
inline constexpr char16_t WebPage[] = u"https://example.org/ravnobor/";
inline constexpr char16_t MailAddress[] = u"rb@example.org";
inline constexpr char16_t MailSubject[] = u"Программа Равнобор";

QUrl webPageUrl();
// mailto: with the subject percent-encoded as UTF-8, a blank as %20 (never "+").
QUrl mailUrl();
// What the about box shows: the web page as its host, the mail as its address.
QString shownWebAddress();
QString shownMailAddress();

} // namespace ravnobor::links
