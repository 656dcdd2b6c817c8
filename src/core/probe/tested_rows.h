#pragma once

// What a table screen shows of a test of its requests. A result belongs to
// the request it tested: it follows its row when rows are deleted or
// inserted above it, and it shows only while the row still holds that
// request, so an edited, pasted or imported row never shows an answer that
// another request got.

#include <array>
#include <set>
#include <string>
#include <vector>

#include "core/commsettings/comm_settings.h"
#include "core/probe/probe_request.h"
#include "core/tables/request_table.h"

namespace sw48230 {

// The rows a Test of the screen probes: those of `selected` that the device
// sends, or every row it sends when none is selected. The device sends the
// rows in use up to the first row without a Cob-ID; dip-switch hardware only
// those with Enable ticked.
std::vector<int> Rows_To_Test(const RequestTable& table, const TableContext& context, const std::set<int>& selected);

// How a test ended, counted by status.
struct TestSummary {
  int to_test = 0;                 // the requests the test sent or was to send
  int tested = 0;                  // those with a result
  std::array<int, 6> by_status{};  // in the order of ProbeStatus

  int count(ProbeStatus status) const { return by_status[static_cast<std::size_t>(status)]; }
};

class TestedRows {
 public:
  // A new test of `rows` as `table` holds them now; earlier results go.
  void Start(const RequestTable& table, const std::vector<int>& rows);
  // Nothing tested, as at an opening.
  void Clear();

  // The result of a request started by Start, named by its row at that time.
  // A result whose row has gone since is counted but shown nowhere.
  void Arrived(const ProbeResult& result);

  // Row operations, so that each result stays with its request: a row
  // removed (later rows move up) or inserted (it and later rows move down,
  // the last one leaves the table).
  void Row_Removed(int row);
  void Row_Inserted(int row);

  // The result for `row`, or nothing while the row does not hold the
  // request that was tested (or its answer has not come).
  const ProbeResult* Shown(const RequestTable& table, int row) const;

  TestSummary Summary() const;

 private:
  using Cells = std::array<std::string, RequestTable::ColCount - 1>;
  static Cells cells_of(const RequestTable& table, int row);

  struct Entry {
    int started_row = 0;
    int row = 0;  // where the request is now; 0 once its row is gone
    Cells tested;
    bool arrived = false;
    ProbeResult result;
  };
  std::vector<Entry> entries_;
};

}  // namespace sw48230
