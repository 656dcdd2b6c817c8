// The probe of a full read table (512 rows) against local Modbus TCP
// servers: all rows on one server, and the rows spread over 8 servers on 8
// loopback addresses. Goal: under 1 s each, with no more than 8 connections
// open at once; the counters report the connections the servers saw.
//
// Six rows of a server that sends its answers one byte every 450 ms, with a
// time-out of 500 ms: each row ends at its time-out, so the goal is about
// 3 s, however slowly the server goes on sending.
//
// A stop while the connection to a server that never answers it is being
// made, with a time-out of 30 s: the time from the stop to the probe's end.
// Goal: well under a second.

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "core/probe/probe_run.h"
#include "support/modbus_test_server.h"
#include "support/scripted_modbus_server.h"

namespace sw48230 {
namespace {

constexpr int Rows = 512;
constexpr std::uint16_t Registers_Per_Row = 4;

void probe_rows(benchmark::State& state, int server_count) {
  std::vector<std::string> addresses;
  for (int s = 1; s <= server_count; ++s) addresses.push_back("127.0.0." + std::to_string(s));
  const test::ModbusTestServer servers(addresses);

  std::vector<ProbeRequest> requests;
  for (int row = 1; row <= Rows; ++row) {
    const std::size_t server = static_cast<std::size_t>(row % server_count);
    const auto start = static_cast<std::uint16_t>(row % (test::Test_Points - Registers_Per_Row));
    requests.push_back({&Read_Requests(), row, addresses[server], servers.port(server), 1,
                        modbus_function::Read_Holding_Registers, start, Registers_Per_Row});
  }
  ProbeStop stop;
  const ProbeOptions options{1000, Default_Probe_Parallel};
  std::size_t failed = 0;
  for (auto _ : state) {
    const std::vector<ProbeResult> results = Run_Probe(requests, options, stop);
    for (const ProbeResult& result : results) failed += result.ok() ? 0 : 1;
    benchmark::DoNotOptimize(results.data());
  }
  if (failed > 0) state.SkipWithError("a row was not answered");
  state.counters["rows"] = Rows;
  state.counters["most_connections_open"] = servers.most_connections_open();
  state.counters["connections_per_run"] =
      static_cast<double>(servers.connections_accepted()) / static_cast<double>(state.iterations());
}

void BM_Probe_Six_Rows_Trickled(benchmark::State& state) {
  const test::ScriptedModbusServer server([](const test::ReceivedRead& read) {
    return test::ScriptedReply{test::correct_answer(read), std::chrono::milliseconds(0), 1,
                               std::chrono::milliseconds(450)};
  });
  std::vector<ProbeRequest> requests;
  for (int row = 1; row <= 6; ++row) {
    requests.push_back({&Read_Requests(), row, "127.0.0.1", server.port(), 1, modbus_function::Read_Holding_Registers,
                        static_cast<std::uint16_t>(row), 1});
  }
  ProbeStop stop;
  std::size_t timeouts = 0;
  for (auto _ : state) {
    for (const ProbeResult& result : Run_Probe(requests, {500, Default_Probe_Parallel}, stop)) {
      timeouts += result.status == ProbeStatus::Timeout ? 1 : 0;
    }
  }
  state.counters["timeouts_per_run"] = static_cast<double>(timeouts) / static_cast<double>(state.iterations());
}

void BM_Probe_Stop_While_Connecting(benchmark::State& state) {
  const test::UnansweredPort silent;
  if (!silent.hangs()) {
    state.SkipWithError("this system refuses a connection to a full listener");
    return;
  }
  const std::vector<ProbeRequest> requests = {
      {&Read_Requests(), 1, "127.0.0.1", silent.port(), 1, modbus_function::Read_Holding_Registers, 0, 1}};
  for (auto _ : state) {
    ProbeStop stop;
    std::chrono::steady_clock::time_point stopped;
    std::thread stopper([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      stopped = std::chrono::steady_clock::now();
      stop.request();
    });
    Run_Probe(requests, {30000, 1}, stop);
    const auto ended = std::chrono::steady_clock::now();
    stopper.join();
    state.SetIterationTime(std::chrono::duration<double>(ended - stopped).count());
  }
}

void BM_Probe_512_Rows_One_Server(benchmark::State& state) { probe_rows(state, 1); }
void BM_Probe_512_Rows_Eight_Servers(benchmark::State& state) { probe_rows(state, 8); }

BENCHMARK(BM_Probe_512_Rows_One_Server)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Probe_512_Rows_Eight_Servers)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Probe_Six_Rows_Trickled)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_Probe_Stop_While_Connecting)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

}  // namespace
}  // namespace sw48230

BENCHMARK_MAIN();
