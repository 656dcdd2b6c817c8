#include "core/probe/probe_run.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <future>
#include <string>
#include <thread>
#include <vector>

#include "core/commsettings/comm_settings.h"
#include "core/probe/probe_plan.h"
#include "core/probe/server_connection.h"
#include "core/project/project.h"
#include "support/failure_of.h"
#include "support/modbus_test_server.h"
#include "support/scripted_modbus_server.h"
#include "support/table_rows.h"
#include "support/temp_dir.h"

namespace sw48230 {
namespace {

using std::chrono::milliseconds;
using test::ModbusTestServer;
using test::ReceivedRead;
using test::ScriptedModbusServer;
using test::ScriptedReply;
using test::ServerBehaviour;
using Values = std::vector<std::uint16_t>;

constexpr std::uint32_t Short_Timeout_Ms = 200;
constexpr int Silent_Unit = 9;

ProbeRequest read_request(const std::string& address, std::uint16_t port, std::uint8_t function, std::uint16_t start,
                          std::uint16_t quantity, std::uint8_t unit = 1) {
  static int row = 0;
  return {&Read_Requests(), ++row, address, port, unit, function, start, quantity};
}

std::vector<ProbeResult> probe(const std::vector<ProbeRequest>& requests, int parallel = Default_Probe_Parallel) {
  ProbeStop stop;
  return Run_Probe(requests, {Short_Timeout_Ms, parallel}, stop);
}

TEST(ProbeRunTest, AnswersOfARealServer) {
  const ModbusTestServer server({"127.0.0.1"}, ServerBehaviour{.silent_unit = Silent_Unit});
  const std::uint16_t port = server.port();
  const std::vector<ProbeRequest> requests = {
      read_request("127.0.0.1", port, modbus_function::Read_Holding_Registers, 0, 3),
      read_request("127.0.0.1", port, modbus_function::Read_Coils, 0, 5),
      read_request("127.0.0.1", port, modbus_function::Read_Discrete_Inputs, 1, 3),
      read_request("127.0.0.1", port, modbus_function::Read_Input_Registers, 5, 2),
      read_request("127.0.0.1", port, modbus_function::Read_Holding_Registers, 150, 4),
      read_request("127.0.0.1", port, modbus_function::Read_Holding_Registers, 98, 4),
      read_request("127.0.0.1", port, modbus_function::Read_Holding_Registers, 0, 1, Silent_Unit),
      // After a time-out the server is still probed.
      read_request("127.0.0.1", port, modbus_function::Read_Holding_Registers, 1, 1),
  };
  std::vector<int> reported;
  ProbeStop stop;
  const std::vector<ProbeResult> results = Run_Probe(
      requests, {Short_Timeout_Ms, 8}, stop, [&](const ProbeResult& result) { reported.push_back(result.row); });

  ASSERT_EQ(results.size(), requests.size());
  for (std::size_t i = 0; i < results.size(); ++i) {
    EXPECT_EQ(results[i].row, requests[i].row);
    EXPECT_EQ(results[i].table, &Read_Requests());
  }
  const std::vector<Values> values = {{0, 100, 65535}, {1, 0, 0, 1, 0}, {1, 0, 1}, {50005, 50006}};
  for (std::size_t i = 0; i < values.size(); ++i) {
    EXPECT_EQ(results[i].status, ProbeStatus::Ok) << i << ": " << results[i].reason;
    EXPECT_EQ(results[i].values, values[i]) << i;
    EXPECT_LT(results[i].round_trip_ms, Short_Timeout_Ms) << i;
  }
  for (const std::size_t i : {4, 5}) {
    EXPECT_EQ(results[i].status, ProbeStatus::Exception) << i;
    EXPECT_EQ(results[i].exception_code, 2) << i;
    EXPECT_TRUE(results[i].values.empty()) << i;
  }
  EXPECT_EQ(results[6].status, ProbeStatus::Timeout);
  EXPECT_EQ(results[6].reason, "no answer within 200 ms");
  EXPECT_EQ(results[7].status, ProbeStatus::Ok) << results[7].reason;
  EXPECT_EQ(results[7].values, Values{100});

  // One server: its requests went one after the other, in order.
  std::vector<int> rows;
  for (const ProbeRequest& request : requests) rows.push_back(request.row);
  EXPECT_EQ(reported, rows);
  EXPECT_EQ(server.functions_received(), (std::vector<std::uint8_t>{3, 1, 2, 4, 3, 3, 3, 3}));
}

TEST(ProbeRunTest, ServerThatDropsTheConnectionIsConnectedAgainOncePerRequest) {
  const ModbusTestServer after_one_answer({"127.0.0.1"}, ServerBehaviour{.answers_per_connection = 1});
  const ModbusTestServer at_once({"127.0.0.2"}, ServerBehaviour{.close_without_answer = true});
  const std::vector<ProbeRequest> requests = {
      read_request("127.0.0.1", after_one_answer.port(), modbus_function::Read_Holding_Registers, 1, 1),
      read_request("127.0.0.1", after_one_answer.port(), modbus_function::Read_Holding_Registers, 3, 1),
      read_request("127.0.0.1", after_one_answer.port(), modbus_function::Read_Coils, 3, 1),
      read_request("127.0.0.2", at_once.port(), modbus_function::Read_Holding_Registers, 1, 1),
  };
  const std::vector<ProbeResult> results = probe(requests);
  ASSERT_EQ(results.size(), 4u);
  EXPECT_EQ(results[0].values, Values{100}) << results[0].reason;
  EXPECT_EQ(results[1].values, Values{300}) << results[1].reason;
  EXPECT_EQ(results[2].values, Values{1}) << results[2].reason;
  EXPECT_EQ(after_one_answer.connections_accepted(), 3);

  EXPECT_EQ(results[3].status, ProbeStatus::Error);
  EXPECT_EQ(results[3].reason, "the server closed the connection");
  EXPECT_EQ(at_once.connections_accepted(), 2);
  EXPECT_EQ(at_once.functions_received().size(), 2u);
}

TEST(ProbeRunTest, PortWhereNothingListensIsRefusedForEachOfItsRows) {
  const test::ClosedPort closed;
  const ModbusTestServer server({"127.0.0.1"});
  const std::vector<ProbeRequest> requests = {
      read_request("127.0.0.1", closed.port(), modbus_function::Read_Holding_Registers, 0, 1),
      read_request("127.0.0.1", server.port(), modbus_function::Read_Holding_Registers, 1, 1),
      read_request("127.0.0.1", closed.port(), modbus_function::Read_Coils, 0, 1),
  };
  const std::vector<ProbeResult> results = probe(requests);
  ASSERT_EQ(results.size(), 3u);
  for (const std::size_t i : {0, 2}) {
    EXPECT_EQ(results[i].status, ProbeStatus::Refused) << i;
#ifdef _WIN32
    // The system's text, in the language of the Windows the test runs on.
    EXPECT_NE(results[i].reason, "") << i;
    EXPECT_EQ(results[i].reason, results[0].reason) << i;
#else
    EXPECT_EQ(results[i].reason, "Connection refused") << i;
#endif
  }
  EXPECT_EQ(results[1].values, Values{100});
}

TEST(ProbeRunTest, AddressesThatAreNoServerAreReportedPerRowWithoutConnecting) {
  const ModbusTestServer server({"127.0.0.1"});
  struct Case {
    const char* address;
    const char* reason;
  };
  const Case cases[] = {
      {"plc.example", "\"plc.example\" is not an IPv4 address"},
      {"300.1.2.3", "\"300.1.2.3\" is not an IPv4 address"},
      {"192.168.0", "\"192.168.0\" is not an IPv4 address"},
      {"1.2.3.4.5", "\"1.2.3.4.5\" is not an IPv4 address"},
      {" 127.0.0.1", "\" 127.0.0.1\" is not an IPv4 address"},
      {"", "\"\" is not an IPv4 address"},
      {"0.0.0.0", "0.0.0.0 is not the address of a server"},
      {"255.255.255.255", "255.255.255.255 is not the address of a server"},
      {"224.0.0.1", "224.0.0.1 is not the address of a server"},
  };
  std::vector<ProbeRequest> requests;
  for (const Case& c : cases) {
    // The server's port: a wrong address must not reach it some other way.
    requests.push_back(read_request(c.address, server.port(), modbus_function::Read_Holding_Registers, 0, 1));
  }
  requests.push_back(read_request("127.0.0.1", server.port(), modbus_function::Read_Holding_Registers, 1, 1));
  const std::vector<ProbeResult> results = probe(requests);
  ASSERT_EQ(results.size(), requests.size());
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(results[i].status, ProbeStatus::Error) << cases[i].address;
    EXPECT_EQ(results[i].reason, cases[i].reason);
  }
  EXPECT_EQ(results.back().values, Values{100});
  EXPECT_EQ(server.connections_accepted(), 1);
}

TEST(ProbeRunTest, WriteRequestsOfTheProjectOnlyReadBack) {
  const ModbusTestServer server({"127.0.0.1"});
  test::TempDir dir;
  CommSettings settings;
  settings.Device_Type = Device_Type_Dip_Switch;
  test::write_file(dir / "ParGen.xml", ParGen_Document(settings));
  const auto at_server = [&](test::TableRow row) {
    return row.set("IP_Add_B1", "127")
        .set("IP_Add_B2", "0")
        .set("IP_Add_B3", "0")
        .set("IP_Add_B4", "1")
        .set("Port", std::to_string(server.port()));
  };
  test::write_file(dir / "var2.xml",
                   test::table_document({
                       at_server(test::setting_row().set("Type", "0").set("Quantity", "1").set("Address_Word", "3")),
                       at_server(test::setting_row().set("Type", "0").set("Quantity", "4").set("Address_Word", "0")),
                       at_server(test::setting_row().set("Type", "1").set("Quantity", "1").set("Address_Word", "2")),
                       at_server(test::setting_row().set("Type", "1").set("Quantity", "3").set("Address_Word", "1")),
                       at_server(test::setting_row().set("Type", "5")),
                   }));
  const Result<ProbePlan> plan = Make_Probe_Plan(Load_Project(dir.path()));
  ASSERT_TRUE(plan) << test::english(plan.failure());
  const std::vector<ProbeResult> results = probe(plan->requests);

  ASSERT_EQ(results.size(), 5u);
  const std::vector<Values> current = {{1}, {1, 0, 0, 1}, {65535}, {100, 65535, 300}};
  for (std::size_t i = 0; i < current.size(); ++i) {
    EXPECT_EQ(results[i].table, &Write_Requests());
    EXPECT_EQ(results[i].status, ProbeStatus::Ok) << results[i].reason;
    EXPECT_EQ(results[i].values, current[i]) << i;
  }
  EXPECT_EQ(results[4].status, ProbeStatus::Error);
  EXPECT_EQ(results[4].reason, "the row's type gives no Modbus function");
  EXPECT_EQ(server.functions_received(), (std::vector<std::uint8_t>{1, 1, 3, 3}));

  // Handed a write function directly, the probe still sends nothing.
  const std::vector<ProbeResult> direct = probe({
      read_request("127.0.0.1", server.port(), modbus_function::Write_Single_Coil, 0, 1),
      read_request("127.0.0.1", server.port(), modbus_function::Write_Multiple_Registers, 0, 2),
  });
  ASSERT_EQ(direct.size(), 2u);
  for (const ProbeResult& result : direct) EXPECT_EQ(result.status, ProbeStatus::Error);
  EXPECT_EQ(server.functions_received().size(), 4u);
}

TEST(ProbeRunTest, OneConnectionPerServerAndNoMoreServersAtOnceThanAllowed) {
  const std::vector<std::string> addresses = {"127.0.0.2", "127.0.0.3", "127.0.0.4", "127.0.0.5", "127.0.0.6"};
  for (const int parallel : {1, 2}) {
    const ModbusTestServer servers(addresses);
    std::vector<ProbeRequest> requests;
    for (int round = 0; round < 3; ++round) {
      for (std::size_t s = 0; s < addresses.size(); ++s) {
        requests.push_back(
            read_request(addresses[s], servers.port(s), modbus_function::Read_Holding_Registers, round, 1));
      }
    }
    const std::vector<ProbeResult> results = probe(requests, parallel);
    ASSERT_EQ(results.size(), requests.size());
    for (std::size_t i = 0; i < results.size(); ++i) {
      EXPECT_EQ(results[i].row, requests[i].row);
      EXPECT_EQ(results[i].values, Values{test::test_holding_register(requests[i].start)}) << results[i].reason;
    }
    EXPECT_EQ(servers.connections_accepted(), static_cast<int>(addresses.size())) << parallel;
    EXPECT_LE(servers.most_connections_open(), parallel);
  }
}

TEST(ProbeRunTest, StopSendsNoFurtherRequest) {
  const ModbusTestServer server({"127.0.0.1"});
  std::vector<ProbeRequest> requests;
  for (int i = 0; i < 5; ++i) {
    requests.push_back(read_request("127.0.0.1", server.port(), modbus_function::Read_Holding_Registers, 0, 1));
  }
  ProbeStop stop;
  const std::vector<ProbeResult> results =
      Run_Probe(requests, {Short_Timeout_Ms, 8}, stop, [&](const ProbeResult&) { stop.request(); });
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(results[0].row, requests[0].row);
  EXPECT_EQ(server.functions_received().size(), 1u);
}

TEST(ProbeRunTest, StopCutsOffTheRequestsUnderWay) {
  const ModbusTestServer server({"127.0.0.1", "127.0.0.2"}, ServerBehaviour{.silent_unit = Silent_Unit});
  const std::vector<ProbeRequest> requests = {
      read_request("127.0.0.1", server.port(0), modbus_function::Read_Holding_Registers, 0, 1, Silent_Unit),
      read_request("127.0.0.2", server.port(1), modbus_function::Read_Holding_Registers, 0, 1, Silent_Unit),
      read_request("127.0.0.1", server.port(0), modbus_function::Read_Holding_Registers, 0, 1),
  };
  ProbeStop stop;
  std::vector<ProbeResult> results;
  // A time-out far beyond the test's: only the stop can end these waits.
  std::thread probe([&] { results = Run_Probe(requests, {600000, 8}, stop); });
  while (server.functions_received().size() < 2) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  stop.request();
  probe.join();
  EXPECT_TRUE(results.empty());
  EXPECT_EQ(server.functions_received().size(), 2u);
}

TEST(ProbeRunTest, EveryUnitIdGoesOutAsItStands) {
  const ModbusTestServer server({"127.0.0.1"});
  // Among them the ids that a serial line keeps for itself, each after
  // another one, so that an id left from the row before would show.
  const std::vector<std::uint8_t> units = {1, 248, 0, 255, 254, 247, 1, 249};
  std::vector<ProbeRequest> requests;
  for (std::size_t i = 0; i < units.size(); ++i) {
    requests.push_back(read_request("127.0.0.1", server.port(), modbus_function::Read_Holding_Registers,
                                    static_cast<std::uint16_t>(i), 1, units[i]));
  }
  const std::vector<ProbeResult> results = probe(requests);
  ASSERT_EQ(results.size(), units.size());
  for (std::size_t i = 0; i < results.size(); ++i) {
    EXPECT_EQ(results[i].status, ProbeStatus::Ok) << int{units[i]} << ": " << results[i].reason;
    EXPECT_EQ(results[i].values, Values{test::test_holding_register(static_cast<int>(i))}) << int{units[i]};
  }
  EXPECT_EQ(server.units_received(), units);
}

// A server whose first answer is wrong in one field: that row is an error
// naming the field, and the rows after it get their own answers, on a new
// connection.
TEST(ProbeRunTest, AReplyThatIsNoAnswerToItsRequestIsAnErrorAndTheNextRowsGetTheirOwn) {
  using Bytes = std::vector<std::uint8_t>;
  struct Case {
    const char* reason;
    std::function<void(Bytes&)> spoil;
  };
  const Case cases[] = {
      {"malformed reply: unit id 7 instead of 3", [](Bytes& b) { b[6] = 7; }},
      {"malformed reply: protocol id 1 instead of 0", [](Bytes& b) { b[3] = 1; }},
      {"malformed reply: transaction id 2 instead of 1", [](Bytes& b) { b[1] = 2; }},
      {"malformed reply: function code 4 instead of 3", [](Bytes& b) { b[7] = 4; }},
      {"malformed reply: function code 132 instead of 3", [](Bytes& b) { b[7] = 0x84; }},
      {"malformed reply: length field 7 instead of 3", [](Bytes& b) { b[7] = 0x83; }},
      {"malformed reply: byte count 2 instead of 4", [](Bytes& b) { b[8] = 2; }},
      {"malformed reply: length field 6 instead of 7", [](Bytes& b) { b[5] = 6; }},
      {"malformed reply: 2 bytes beyond its length field",
       [](Bytes& b) {
         b.insert(b.end(), {0, 0});
       }},
  };
  for (const Case& c : cases) {
    const ScriptedModbusServer server([&](const ReceivedRead& read) {
      ScriptedReply reply{test::correct_answer(read)};
      if (read.index == 0) c.spoil(reply.bytes);
      return reply;
    });
    const std::vector<ProbeResult> results = probe({
        read_request("127.0.0.1", server.port(), modbus_function::Read_Holding_Registers, 5, 2, 3),
        read_request("127.0.0.1", server.port(), modbus_function::Read_Holding_Registers, 7, 1, 3),
        read_request("127.0.0.1", server.port(), modbus_function::Read_Coils, 0, 4, 3),
    });
    ASSERT_EQ(results.size(), 3u) << c.reason;
    EXPECT_EQ(results[0].status, ProbeStatus::Error) << c.reason;
    EXPECT_EQ(results[0].reason, c.reason);
    EXPECT_TRUE(results[0].values.empty()) << c.reason;
    EXPECT_EQ(results[1].status, ProbeStatus::Ok) << c.reason << ": " << results[1].reason;
    EXPECT_EQ(results[1].values, Values{700}) << c.reason;
    EXPECT_EQ(results[2].values, (Values{1, 0, 0, 1})) << c.reason << ": " << results[2].reason;
    EXPECT_EQ(server.connections_accepted(), 2) << c.reason;
  }
}

TEST(ProbeRunTest, ExceptionsWithoutAStandardNameAreExceptions) {
  const ScriptedModbusServer server(
      [](const ReceivedRead& read) { return ScriptedReply{test::exception_answer(read, 0x0C)}; });
  const std::vector<ProbeResult> results =
      probe({read_request("127.0.0.1", server.port(), modbus_function::Read_Input_Registers, 0, 1)});
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(results[0].status, ProbeStatus::Exception) << results[0].reason;
  EXPECT_EQ(results[0].exception_code, 0x0C);
}

// The time-out counts from sending to the last byte of the answer, however
// the server spreads the bytes; a late answer is not taken for the next one.
TEST(ProbeRunTest, TheWholeAnswerMustComeWithinTheTimeout) {
  struct Case {
    milliseconds delay;  // before the first byte of the answer
    std::size_t piece_size;
    milliseconds pause;  // between its pieces
    std::uint32_t timeout_ms;
    ProbeStatus status;
    const char* reason;  // the start of it
  };
  const Case cases[] = {
      {milliseconds(0), 1, milliseconds(10), 2000, ProbeStatus::Ok, ""},
      {milliseconds(0), 1, milliseconds(100), 300, ProbeStatus::Timeout, "only "},
      {milliseconds(0), 9, milliseconds(3000), 300, ProbeStatus::Timeout,
       "only 9 of 11 bytes of the answer within 300 ms"},
      {milliseconds(0), 5, milliseconds(3000), 300, ProbeStatus::Timeout, "only 5 bytes of the answer within 300 ms"},
      {milliseconds(600), 0, milliseconds(0), 300, ProbeStatus::Timeout, "no answer within 300 ms"},
  };
  for (const Case& c : cases) {
    const ScriptedModbusServer server([&](const ReceivedRead& read) {
      if (read.index > 0) return ScriptedReply{test::correct_answer(read)};
      return ScriptedReply{test::correct_answer(read), c.delay, c.piece_size, c.pause};
    });
    ProbeStop stop;
    const std::vector<ProbeResult> results = Run_Probe(
        {
            read_request("127.0.0.1", server.port(), modbus_function::Read_Holding_Registers, 4, 1),
            read_request("127.0.0.1", server.port(), modbus_function::Read_Holding_Registers, 3, 1),
        },
        {c.timeout_ms, 1}, stop);
    ASSERT_EQ(results.size(), 2u) << c.reason;
    EXPECT_EQ(results[0].status, c.status) << c.reason << results[0].reason;
    EXPECT_EQ(results[0].reason.rfind(c.reason, 0), 0u) << results[0].reason;
    EXPECT_EQ(results[0].values, c.status == ProbeStatus::Ok ? Values{400} : Values{}) << c.reason;
    EXPECT_EQ(results[1].values, Values{300}) << c.reason << ": " << results[1].reason;
  }
}

TEST(ProbeRunTest, BytesThatCameBetweenAnswersAreNotTakenForTheNextAnswer) {
  // The first answer comes twice, the copy well after the first.
  const ScriptedModbusServer server([](const ReceivedRead& read) {
    ScriptedReply reply{test::correct_answer(read)};
    if (read.index > 0) return reply;
    const std::size_t size = reply.bytes.size();
    reply.bytes.insert(reply.bytes.end(), reply.bytes.begin(), reply.bytes.end());
    reply.piece_size = size;
    reply.pause = milliseconds(300);
    return reply;
  });
  const std::vector<ProbeRequest> requests = {
      read_request("127.0.0.1", server.port(), modbus_function::Read_Holding_Registers, 1, 1),
      read_request("127.0.0.1", server.port(), modbus_function::Read_Holding_Registers, 3, 1),
  };
  ProbeStop stop;
  // The next request goes only once the copy has come.
  const std::vector<ProbeResult> results =
      Run_Probe(requests, {1000, 1}, stop, [](const ProbeResult&) { std::this_thread::sleep_for(milliseconds(900)); });
  ASSERT_EQ(results.size(), 2u);
  EXPECT_EQ(results[0].values, Values{100}) << results[0].reason;
  EXPECT_EQ(results[1].values, Values{300}) << results[1].reason;
  EXPECT_EQ(server.connections_accepted(), 2);
}

TEST(ProbeRunTest, AConnectionNeverAnsweredIsUnreachable) {
  const test::UnansweredPort silent;
  if (!silent.hangs()) GTEST_SKIP() << "this system refuses a connection to a full listener instead of ignoring it";
  const std::vector<ProbeResult> results = probe({
      read_request("127.0.0.1", silent.port(), modbus_function::Read_Holding_Registers, 0, 1),
      read_request("127.0.0.1", silent.port(), modbus_function::Read_Coils, 0, 1),
  });
  ASSERT_EQ(results.size(), 2u);
  for (const ProbeResult& result : results) {
    EXPECT_EQ(result.status, ProbeStatus::Unreachable) << result.reason;
#ifdef _WIN32
    // The system's text, in the language of the Windows the test runs on.
    EXPECT_NE(result.reason, "");
#else
    EXPECT_EQ(result.reason, "Connection timed out");
#endif
  }
}

TEST(ProbeRunTest, StopEndsAConnectionBeingMade) {
  const test::UnansweredPort silent;
  if (!silent.hangs()) GTEST_SKIP() << "this system refuses a connection to a full listener instead of ignoring it";
  const ModbusTestServer server({"127.0.0.2"});
  const std::vector<ProbeRequest> requests = {
      read_request("127.0.0.1", silent.port(), modbus_function::Read_Holding_Registers, 0, 1),
      read_request("127.0.0.2", server.port(), modbus_function::Read_Holding_Registers, 0, 1),
  };
  ProbeStop stop;
  std::promise<std::vector<ProbeResult>> probed;
  std::future<std::vector<ProbeResult>> results = probed.get_future();
  // The stop comes once the server that answers has its result.
  std::promise<void> answered;
  std::future<void> answer = answered.get_future();
  const ProbeProgress progress = [&](const ProbeResult& result) {
    if (result.row == requests[1].row) answered.set_value();
  };
  // Far beyond the test's time-out: only the stop can end this connect.
  std::thread probe([&] { probed.set_value(Run_Probe(requests, {60000, 8}, stop, progress)); });
  ASSERT_EQ(answer.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  stop.request();
  const bool ended = results.wait_for(std::chrono::seconds(10)) == std::future_status::ready;
  EXPECT_TRUE(ended) << "the probe still waits for the connection";
  probe.join();
  // The server that answered has its row; the connection abandoned has none.
  const std::vector<ProbeResult> got = results.get();
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].row, requests[1].row);
}

TEST(ProbeRunTest, ExceptionNames) {
  EXPECT_EQ(Modbus_Exception_Name(1), "Illegal Function");
  EXPECT_EQ(Modbus_Exception_Name(2), "Illegal Data Address");
  EXPECT_EQ(Modbus_Exception_Name(3), "Illegal Data Value");
  EXPECT_EQ(Modbus_Exception_Name(4), "Server Device Failure");
  EXPECT_EQ(Modbus_Exception_Name(0x0A), "Gateway Path Unavailable");
  EXPECT_EQ(Modbus_Exception_Name(0x0B), "Gateway Target Device Failed to Respond");
  for (const int code : {0, 5, 6, 8, 0x0C, 0xFF}) EXPECT_FALSE(Modbus_Exception_Name(code)) << code;
}

}  // namespace
}  // namespace sw48230
