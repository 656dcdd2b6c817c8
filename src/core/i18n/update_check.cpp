#include "core/i18n/update_check.h"

#include <algorithm>

#include "core/common/number_text.h"
#include "core/common/paths.h"
#include "core/common/text.h"

namespace sw48230 {
namespace {

constexpr std::string_view No_Version_Reply = "VER. 0.000";

}  // namespace

std::string Update_Host(const char* override_value) {
  if (override_value != nullptr && *override_value != '\0') return override_value;
  return Maker_Web_Address;
}

std::string Version_Request_Target() { return std::string("/home/download/GetversionSW.asp?nomesw=") + SW_Code; }

HttpHeaders Version_Request_Headers() {
  return {{"Accept", "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8"},
          {"User-Agent", "Mozilla/3.0 (compatible; Indy Library)"}};
}

std::string Web_Page_Url(std::string_view host, std::string_view rest) {
  // Any other server is a local or test one, which speaks plain HTTP as the
  // version query itself does.
  const std::string_view scheme = equals_ignoring_ascii_case(host, Maker_Web_Address) ? "https://" : "http://";
  std::string url(scheme);
  url.append(host).append(rest);
  return url;
}

std::string Download_Page_Url(std::string_view host) {
  return Web_Page_Url(host, "/Home/download/download.asp#HD48230");
}

int Conv_Version(std::string_view Ver_str) {
  const auto blank = Ver_str.find(' ');
  const std::string_view version = trim_blanks(blank == std::string_view::npos ? Ver_str : Ver_str.substr(blank + 1));
  if (version.size() < 5) return -1;
  // The second character is the point; it is skipped unseen.
  const std::string digits{version[0], version[2], version[3], version[4]};
  return parse_int32(digits).value_or(-1);
}

bool Is_Newer_Version(std::string_view reply, std::string_view own_version) {
  const std::string_view trimmed = trim_blanks(reply);
  if (trimmed.empty() || to_upper_ascii(trimmed) == No_Version_Reply) return false;
  const int local = Conv_Version(own_version);
  const int remote = Conv_Version(trimmed);
  if (local == -1 || remote == -1) return false;
  return remote > local;
}

}  // namespace sw48230
