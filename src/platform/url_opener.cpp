#include "platform/url_opener.h"

#include <QDesktopServices>
#include <QUrl>

namespace sw48230 {

void DesktopUrlOpener::open_url(const QString& url) { QDesktopServices::openUrl(QUrl(url)); }

}  // namespace sw48230
