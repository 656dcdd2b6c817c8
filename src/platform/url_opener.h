#pragma once

#include <QString>

namespace sw48230 {

// Hands a web address to the user's default browser.
class UrlOpener {
 public:
  virtual ~UrlOpener() = default;
  virtual void open_url(const QString& url) = 0;
};

class DesktopUrlOpener final : public UrlOpener {
 public:
  void open_url(const QString& url) override;
};

}  // namespace sw48230
