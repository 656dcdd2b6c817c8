#pragma once

#include <string>
#include <string_view>

#include "core/common/http_message.h"
#include "core/common/product.h"

namespace sw48230 {

// Names another web server for the version service and the download page,
// e.g. "127.0.0.1:8080"; the maker's server when unset or empty.
inline constexpr const char* Update_Host_Variable = "SW48230_UPDATE_HOST";

// The automatic check: one minute after start, then every two hours.
inline constexpr int First_Update_Check_Ms = 60000;
inline constexpr int Update_Check_Interval_Ms = 7200000;

// The host[:port] of the version service: `override_value` unless it is
// missing or empty, else the maker's web server.
std::string Update_Host(const char* override_value);

// The version query: its target (path and query) and its fixed headers.
std::string Version_Request_Target();
HttpHeaders Version_Request_Headers();

// A page on the web server `host`; `rest` is the path with any query or
// fragment.
std::string Web_Page_Url(std::string_view host, std::string_view rest);
std::string Download_Page_Url(std::string_view host);

// The four-digit number of a version text such as "2.007" (2007), or -1.
int Conv_Version(std::string_view Ver_str);

// Whether the version service's reply names a version newer than ours. The
// reply is empty after any failure of the request, which reads as "no".
bool Is_Newer_Version(std::string_view reply, std::string_view own_version = Version_Text);

}  // namespace sw48230
