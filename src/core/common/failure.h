#pragma once

// How a fallible core operation says that it failed. An operation that gives
// a value returns Result<T>; one that only does something returns
// std::optional<Failure>, empty when it worked, so that `if (auto failure =
// Save(...))` reads the same as the error codes it replaced.

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

namespace sw48230 {

// Texts of failures, with %1, %2 ... for their values.
inline constexpr int Msg_Failure_File_Missing = 543;
inline constexpr int Msg_Failure_File_Unreadable = 544;
inline constexpr int Msg_Failure_Too_Many_Rows = 545;
inline constexpr int Msg_Failure_Too_Many_Enabled_Rows = 546;
inline constexpr int Msg_Failure_File_Not_Written = 547;
inline constexpr int Msg_Failure_Element_Missing = 548;
inline constexpr int Msg_Failure_Element_Not_A_Number = 549;
inline constexpr int Msg_Failure_Attribute_Missing = 552;
inline constexpr int Msg_Failure_Attribute_Not_A_Number = 553;
inline constexpr int Msg_Failure_Not_An_Image = 582;
// Texts that follow their file (Failure::Place::After_File).
inline constexpr int Msg_Failure_Cannot_Be_Read = 577;
inline constexpr int Msg_Failure_Element_Not_Exactly_1 = 578;
inline constexpr int Msg_Failure_Element_Outside_List = 579;
// Not a failure: the rows of a table file that its screen leaves out.
inline constexpr int Msg_Rows_Left_Out = 554;

// What failed, where, and what to tell the user.
struct Failure {
  enum class Item {
    File,       // the file itself: missing, unreadable, not written, too long
    Element,    // an element of a settings file
    Attribute,  // an attribute of a table row
    Target,     // the network address in `name`: not resolved, no socket, not sent
  };

  // Where the file goes when the failure is shown (Failure_Message,
  // core/i18n/failure_messages.h).
  enum class Place {
    In_Text,      // the text names it among its values: 'ParGen.xml is missing'
    After_File,   // the text follows it: 'ParGen.xml: element CAN_Baud is outside its list 0..7: "8"'
    Before_File,  // the text heads it and the reason: 'Error! The folder could not be created: /p: ...'
  };

  std::string file;  // as the user knows it: a name such as "ParGen.xml", or a path; empty for a Target
  int row = 0;       // 1-based row of a table file; 0 when not about a row
  Item item = Item::File;
  std::string name;                 // of the element or attribute, or the Target's address
  std::string reason;               // the system's own words, when it gave a reason
  int text = 0;                     // message index of what the user is told
  std::vector<std::string> values;  // for %1, %2 ... of that text
  Place place = Place::In_Text;

  bool operator==(const Failure&) const = default;
};

// The value of an operation, or why there is none. `Why` is a Failure for
// the core; the command-line tool also uses it for its usage errors.
template <class T, class Why = Failure>
class Result {
  static_assert(!std::is_same_v<T, Why>);

 public:
  Result(T value) : state_(std::move(value)) {}
  Result(Why failure) : state_(std::move(failure)) {}

  bool ok() const { return std::holds_alternative<T>(state_); }
  explicit operator bool() const { return ok(); }

  // Only when ok().
  T& operator*() { return std::get<T>(state_); }
  const T& operator*() const { return std::get<T>(state_); }
  T* operator->() { return &std::get<T>(state_); }
  const T* operator->() const { return &std::get<T>(state_); }

  // Only when !ok().
  const Why& failure() const { return std::get<Why>(state_); }

 private:
  std::variant<T, Why> state_;
};

// `text` with %1 ... %9 replaced by `values` in one pass, so that a value
// holding "%2" stays as it is. A number without a value is kept.
std::string Fill_Placeholders(const std::string& text, const std::vector<std::string>& values);

// The failures every reader and writer of files share.
Failure File_Missing(std::string file);
Failure File_Unreadable(std::string file, std::string reason);
// Whether `failure` is a File_Missing, which some readers take for an empty file.
inline bool Is_File_Missing(const Failure& failure) { return failure.text == Msg_Failure_File_Missing; }
// `path` as the user typed or chose it, with the platform's separators.
Failure File_Not_Written(const std::filesystem::path& path, std::error_code error);
// Not written because the program refused what it would have written.
Failure File_Not_Written(const std::filesystem::path& path, std::string reason);
// A file that exists but cannot be read, said after the file as the checks
// of a project say it: 'var.xml: cannot be read: ...'.
Failure Cannot_Be_Read(std::string file, std::string reason);
Failure Element_Missing(std::string file, std::string name);
Failure Element_Not_A_Number(std::string file, std::string name, std::string text);
// A list element whose number the settings screen would not show as stored:
// outside the list 0..`last`, or read as 1 but not spelt "1".
Failure Element_Outside_List(std::string file, std::string name, int last, std::string text);
Failure Element_Not_Exactly_1(std::string file, std::string name, std::string text);
Failure Attribute_Missing(std::string file, int row, std::string name);
Failure Attribute_Not_A_Number(std::string file, int row, std::string name, std::string text);
// `heading` (a text that takes no values) before the file and the system's
// reason, for what failed with a file but has no text of its own.
Failure Headed_Failure(int heading, std::string file, std::string reason);

}  // namespace sw48230
