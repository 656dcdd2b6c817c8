#include "core/probe/probe_request.h"

namespace sw48230 {

std::uint8_t Probe_Function(std::uint8_t function) {
  using namespace modbus_function;
  switch (function) {
    case Read_Coils:
    case Read_Discrete_Inputs:
    case Read_Holding_Registers:
    case Read_Input_Registers:
      return function;
    case Write_Single_Coil:
    case Write_Multiple_Coils:
      return Read_Coils;
    case Write_Single_Register:
    case Write_Multiple_Registers:
      return Read_Holding_Registers;
    default:
      return None;
  }
}

const char* Probe_Status_Name(ProbeStatus status) {
  switch (status) {
    case ProbeStatus::Ok:
      return "ok";
    case ProbeStatus::Exception:
      return "exception";
    case ProbeStatus::Timeout:
      return "timeout";
    case ProbeStatus::Refused:
      return "refused";
    case ProbeStatus::Unreachable:
      return "unreachable";
    case ProbeStatus::Error:
      break;
  }
  return "error";
}

std::optional<std::string_view> Modbus_Exception_Name(int code) {
  switch (code) {
    case 0x01:
      return "Illegal Function";
    case 0x02:
      return "Illegal Data Address";
    case 0x03:
      return "Illegal Data Value";
    case 0x04:
      return "Server Device Failure";
    case 0x0A:
      return "Gateway Path Unavailable";
    case 0x0B:
      return "Gateway Target Device Failed to Respond";
    default:
      return std::nullopt;
  }
}

}  // namespace sw48230
