#pragma once

#include <QString>

// The web booking request page: the template that ships inside the program, with
// the address its form posts to and the office's e-mail address filled in.

namespace quorl {

// The template's text up to its first zero character; "" when it is missing.
QString webBookingTemplate();

// Text made safe inside HTML, also inside a double- or single-quoted attribute:
// & < > " ' become entities, and so does any character Windows-1252 cannot hold.
QString htmlEscaped(const QString &text);

// The page: the year lists offer firstYear and the two years after it, and every
// "{ACTION}" and "{YOUREMAIL}" of the template holds the escaped action and e-mail.
// A placeholder inside a filled-in value stays as the user typed it.
QString webBookingPageText(const QString &templateText, const QString &action, const QString &email,
                           int firstYear);

// Asks where to save the page and writes it, followed by one CR LF. Cancelling
// writes nothing; a failure, and a name that must not be written (the database's
// files, a folder or device), is shown ("Can't save HTML file:"). Returns true when
// the page was written.
bool GenerateWebBookingPage(const QString &Action, const QString &Email);

} // namespace quorl
