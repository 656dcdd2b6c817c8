#pragma once

#include <QString>

class QLabel;

namespace sw48230 {

class HttpGetter;

// Asks the version service whether a newer version of the program exists.
// Any failure reads as "no". Blocks, with the windows still painted, until
// the reply arrives or the request times out.
bool Check_Version(HttpGetter& http);

// The download page on the server that `http` talks to.
QString Download_Page(const HttpGetter& http);

// Makes `label` show `caption` as a link to `url`; the owner opens the link
// on the label's linkActivated signal.
void show_link(QLabel* label, const QString& caption, const QString& url);

}  // namespace sw48230
