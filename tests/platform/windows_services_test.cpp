#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <string>
#include <thread>

#include "core/update/serial_update.h"
#include "platform/icmp_echo.h"
#include "platform/serial_ports.h"

namespace sw48230 {
namespace {

// Whatever ports the machine has (none, or the ones Wine maps), each is a
// numbered COM port under its device name, listed once and in order.
TEST(WindowsSerialPorts, EveryPortFoundIsANumberedComPort) {
  const std::vector<SerialPort> ports = SystemSerialPorts().EnumPorts();
  std::set<std::string> names;
  int previous = 0;
  for (const SerialPort& port : ports) {
    SCOPED_TRACE(port.name);
    ASSERT_EQ(port.name.rfind("COM", 0), 0u);
    const int number = std::stoi(port.name.substr(3));
    EXPECT_EQ(port.name, Com_Port_Name(number));
    EXPECT_EQ(port.device, "\\\\.\\" + port.name);
    EXPECT_GT(number, previous);
    EXPECT_LE(number, Com_Port_Count);
    previous = number;
    EXPECT_TRUE(names.insert(port.name).second);
  }
}

EchoReply wait_for_reply(SystemIcmpEcho& echo) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  EchoReply reply = EchoReply::None;
  while (reply == EchoReply::None && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    reply = echo.poll();
  }
  return reply;
}

TEST(WindowsIcmpEcho, TheLoopbackAddressAnswersEveryRequestWithItsData) {
  SystemIcmpEcho echo;
  const std::optional<Failure> opened = echo.open("127.0.0.1");
  ASSERT_FALSE(opened) << opened->reason;
  for (std::uint16_t sequence = 1; sequence <= 2; ++sequence) {
    SCOPED_TRACE(sequence);
    const std::optional<Failure> sent = echo.send(sequence, "SW48230", 64);
    ASSERT_FALSE(sent) << sent->reason;
    EXPECT_EQ(wait_for_reply(echo), EchoReply::With_Data);
    EXPECT_EQ(echo.poll(), EchoReply::None);  // one reply per request
  }
  echo.close();
  EXPECT_EQ(echo.send(3, "SW48230", 64), Echo_Failed("127.0.0.1", "not open"));
}

}  // namespace
}  // namespace sw48230
