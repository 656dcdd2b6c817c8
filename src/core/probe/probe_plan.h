#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/image/image_error.h"
#include "core/probe/probe_request.h"
#include "core/project/project.h"

namespace sw48230 {

// What a probe of the project sends: the requests the image build makes of
// the project's files, so that the probe tries exactly what the device will
// send. For device type 1 that is one request per enabled row with the row's
// own port; for every other device type one per row, all on the project's
// port.
struct ProbePlan {
  // The read requests first, then the write requests, each in table order.
  std::vector<ProbeRequest> requests;
  // The project's answer time-out as the image holds it.
  std::uint32_t timeout_ms = 0;
};

// A table screen passes the project with its table as it stands on the
// screen (With_Table), so that the rows are probed as they would be saved.
// Fails as the image build would: when the image cannot be built, there is
// nothing the device would send.
Result<ProbePlan> Make_Probe_Plan(const Project& project);

}  // namespace sw48230
