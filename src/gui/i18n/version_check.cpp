#include "gui/i18n/version_check.h"

#include <QLabel>

#include "core/i18n/update_check.h"
#include "gui/ui/texts.h"
#include "platform/http_getter.h"

namespace sw48230 {

bool Check_Version(HttpGetter& http) {
  return Is_Newer_Version(http.get(Version_Request_Target(), Version_Request_Headers()));
}

QString Download_Page(const HttpGetter& http) { return to_qstring(Download_Page_Url(http.host())); }

void show_link(QLabel* label, const QString& caption, const QString& url) {
  label->setTextFormat(Qt::RichText);
  label->setText(QStringLiteral("<a href=\"%1\">%2</a>").arg(url.toHtmlEscaped(), caption.toHtmlEscaped()));
  label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
  label->setOpenExternalLinks(false);
  label->setToolTip(url);
  label->setAccessibleName(caption);
}

}  // namespace sw48230
