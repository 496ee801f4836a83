// tallyline.exe under Wine in adapter mode writes its metrics file into the
// folder node_exporter's textfile collector publishes, a Prometheus server
// scrapes node_exporter every second, and the byte counters Prometheus
// returns must agree with the kernel's counters of the veth's host end to
// the byte. The adapter's name holds an "é", which the program has in
// Windows-1252 and the format wants in UTF-8. The file the program leaves
// at exit says it no longer measures, keeps the counters, and must pass
// promtool's lint.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "net/traffic_pump.h"
#include "net/veth_link.h"
#include "net/wine_program.h"
#include "unit/scratch_dir.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// Two ports nobody listens on now, on 127.0.0.1; both held while choosing,
// so they differ.
std::pair<uint16_t, uint16_t> FreePorts() {
  uint16_t ports[2];
  int sockets[2];
  for (int i = 0; i < 2; ++i) {
    sockets[i] = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    bind(sockets[i], reinterpret_cast<sockaddr*>(&address), size);
    getsockname(sockets[i], reinterpret_cast<sockaddr*>(&address), &size);
    ports[i] = ntohs(address.sin_port);
  }
  for (int s : sockets) close(s);
  return {ports[0], ports[1]};
}

// A server started for the test, its output in log; ended when the object goes.
class TServer {
 public:
  TServer(const std::vector<std::string>& argv, const std::string& log) {
    FPid = fork();
    if (FPid == 0) {
      if (!freopen(log.c_str(), "w", stdout) || dup2(fileno(stdout), 2) < 0) _exit(127);
      std::vector<char*> args;
      for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
      args.push_back(nullptr);
      execvp(args[0], args.data());
      _exit(127);
    }
  }
  ~TServer() {
    if (FPid <= 0) return;
    kill(FPid, SIGTERM);
    // Prometheus closes its database on SIGTERM; give it a moment.
    for (int i = 0; i < 100; ++i, std::this_thread::sleep_for(100ms))
      if (waitpid(FPid, nullptr, WNOHANG) == FPid) return;
    kill(FPid, SIGKILL);
    waitpid(FPid, nullptr, 0);
  }
  TServer(const TServer&) = delete;
  TServer& operator=(const TServer&) = delete;

 private:
  pid_t FPid;
};

// GET over HTTP/1.0 from 127.0.0.1:port; the body, or empty when there is no answer.
std::string HttpGet(uint16_t port, const std::string& target) {
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::string response;
  if (connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
    const std::string request = "GET " + target + " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n";
    if (send(s, request.data(), request.size(), 0) == static_cast<ssize_t>(request.size())) {
      char buffer[4096];
      for (ssize_t n; (n = recv(s, buffer, sizeof buffer, 0)) > 0;) response.append(buffer, n);
    }
  }
  close(s);
  if (response.rfind("HTTP/1.0 200", 0) != 0 && response.rfind("HTTP/1.1 200", 0) != 0) return {};
  const size_t body = response.find("\r\n\r\n");
  return body == std::string::npos ? std::string() : response.substr(body + 4);
}

std::string UrlEncode(const std::string& text) {
  std::string out;
  char hex[4];
  for (unsigned char c : text)
    if (std::isalnum(c) || c == '_' || c == '.' || c == '-') {
      out += static_cast<char>(c);
    } else {
      std::snprintf(hex, sizeof hex, "%%%02X", c);
      out += hex;
    }
  return out;
}

// Polls every 100 ms until done() holds (true) or the time is up (false).
bool WaitFor(std::chrono::seconds limit, const std::function<bool()>& done) {
  const auto end = std::chrono::steady_clock::now() + limit;
  for (;; std::this_thread::sleep_for(100ms)) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() > end) return false;
  }
}

struct TSample {
  double Time = 0;    // seconds since 1970, when the scrape began
  std::string Value;  // as Prometheus prints it
};

// The newest sample of the one series selector names in Prometheus; Time 0
// when there is none, or more than one series.
TSample Newest(uint16_t port, const std::string& selector) {
  const std::string body = HttpGet(port, "/api/v1/query?query=" + UrlEncode(selector + "[1m]"));
  TSample newest;
  size_t series = 0;
  for (size_t at = 0; (at = body.find("\"metric\":", at)) != std::string::npos; ++at) ++series;
  if (series != 1) return newest;
  static const std::regex pair(R"re(\[([0-9.]+),"([^"]*)"\])re");
  for (std::sregex_iterator it(body.begin(), body.end(), pair), end; it != end; ++it)
    newest = {std::stod((*it)[1]), (*it)[2]};
  return newest;
}

double SecondsSinceEpoch(fs::file_time_type time) {
  const auto system = std::chrono::file_clock::to_sys(time);
  return std::chrono::duration<double>(system.time_since_epoch()).count();
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// promtool's verdict on the text: its exit status and everything it printed.
std::pair<int, std::string> PromtoolCheck(const fs::path& file) {
  FILE* pipe = popen(("promtool check metrics <'" + file.string() + "' 2>&1").c_str(), "r");
  if (!pipe) return {-1, "cannot run promtool"};
  std::string text;
  char buffer[256];
  for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
  const int status = pclose(pipe);
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, text};
}

TEST(PrometheusTest, ScrapedCountersAgreeWithTheKernel) {
  ASSERT_FALSE(WindowsBin().empty()) << "TALLYLINE_WIN32_BIN names the folder of tallyline.exe";
  TScratchDir dir;
  fs::copy_file(WindowsBin() + "tallyline.exe", dir.Path("tallyline.exe"));
  fs::create_directory(dir.Path("metrics"));
  fs::create_directory(dir.Path("tsdb"));
  const fs::path metrics = dir.Path("metrics") + "/tallyline.prom";
  TVethLink link(0, "\xc3\xa9");  // "é" in UTF-8, as Linux names take it
  const std::string utf8Name = link.HostName();
  const std::string key = utf8Name.substr(0, utf8Name.size() - 2) + "\xe9 @ " + link.HostMac();
  const std::string utf8Key = utf8Name + " @ " + link.HostMac();
  dir.Write("settings.ini", "[Settings]\r\nDialup=0\r\n\r\n[NIC]\r\nS=" + key +
                                "\r\n\r\n[Export]\r\nMetricsFile=metrics\\tallyline.prom\r\n"
                                "Interval=5\r\n");

  const std::pair<uint16_t, uint16_t> ports = FreePorts();
  const uint16_t exporterPort = ports.first, prometheusPort = ports.second;
  // Only the textfile collector: the others would only add series and time.
  TServer exporter(
      {"prometheus-node-exporter", "--collector.disable-defaults", "--collector.textfile",
       "--collector.textfile.directory=" + dir.Path("metrics"), "--web.disable-exporter-metrics",
       "--web.listen-address=127.0.0.1:" + std::to_string(exporterPort)},
      dir.Path("exporter.log"));
  dir.Write("prometheus.yml",
            "global:\n"
            "  scrape_interval: 1s\n"
            "  scrape_timeout: 1s\n"
            "scrape_configs:\n"
            "  - job_name: tallyline\n"
            "    static_configs:\n"
            "      - targets: ['127.0.0.1:" +
                std::to_string(exporterPort) + "']\n");
  TServer prometheus({"prometheus", "--config.file=" + dir.Path("prometheus.yml"),
                      "--storage.tsdb.path=" + dir.Path("tsdb"),
                      "--web.listen-address=127.0.0.1:" + std::to_string(prometheusPort)},
                     dir.Path("prometheus.log"));
  ASSERT_TRUE(WaitFor(20s, [&] { return !HttpGet(exporterPort, "/metrics").empty(); }))
      << dir.Read("exporter.log");
  ASSERT_TRUE(WaitFor(30s, [&] { return !HttpGet(prometheusPort, "/-/ready").empty(); }))
      << dir.Read("prometheus.log");

  TWineProgram program(dir.Folder());
  ASSERT_FALSE(program.WaitForWindow().empty());
  // The first two display updates only learn the counters; the link is
  // silent until the traffic starts.
  std::this_thread::sleep_for(4s);
  const uint64_t received0 = link.HostReceived(), sent0 = link.HostSent();
  PumpTraffic(link, 100'000'321, 300'000'123, 400'000'000);
  // Let the closing handshake pass and two more samples see it all.
  std::this_thread::sleep_for(3s);
  const uint64_t received = link.HostReceived() - received0, sent = link.HostSent() - sent0;
  const double quiet = SecondsSinceEpoch(fs::file_time_type::clock::now());

  // A write of the file after everything was counted, then a scrape of it.
  double written = 0;
  ASSERT_TRUE(WaitFor(12s, [&] {
    std::error_code error;
    written = SecondsSinceEpoch(fs::last_write_time(metrics, error));
    return !error && written > quiet;
  })) << "the metrics file was not written again within 12 s";
  const std::string linkLabel = "{link=\"" + utf8Key + "\"}";
  TSample scrapedReceived, scrapedSent;
  const auto scrapedSinceWrite = [&] {
    scrapedReceived = Newest(prometheusPort, "tallyline_received_bytes_total" + linkLabel);
    scrapedSent = Newest(prometheusPort, "tallyline_sent_bytes_total" + linkLabel);
    return scrapedReceived.Time > written && scrapedSent.Time > written;
  };
  EXPECT_TRUE(WaitFor(10s, scrapedSinceWrite)) << "Prometheus did not scrape the file again\n"
                                               << HttpGet(exporterPort, "/metrics");
  EXPECT_GT(received, 300'000'123u);
  EXPECT_EQ(scrapedReceived.Value, std::to_string(received));
  EXPECT_EQ(scrapedSent.Value, std::to_string(sent));
  EXPECT_EQ(Newest(prometheusPort,
                   R"(tallyline_info{mode="adapter",version=")" + std::string(kAppVersion) + "\"}")
                .Value,
            "1");
  EXPECT_EQ(Newest(prometheusPort, "node_textfile_scrape_error").Value, "0");

  ASSERT_EQ(Driver("close '" + kMainCaption + "'"), 0);
  ASSERT_TRUE(program.ConfirmClose());
  // The write at exit: whole, in place, with the same figures, as plain integers.
  EXPECT_FALSE(fs::exists(metrics.string() + ".tmp"));
  const std::string text = ReadFile(metrics);
  EXPECT_EQ(text.find('\r'), std::string::npos);
  EXPECT_NE(text.find("\ntallyline_received_bytes_total" + linkLabel + " " +
                      std::to_string(received) + "\n"),
            std::string::npos)
      << text;
  EXPECT_NE(
      text.find("\ntallyline_sent_bytes_total" + linkLabel + " " + std::to_string(sent) + "\n"),
      std::string::npos)
      << text;
  EXPECT_NE(text.find("\ntallyline_connected 0\n"), std::string::npos) << text;
  const auto [status, problems] = PromtoolCheck(metrics);
  EXPECT_EQ(status, 0) << problems;
  EXPECT_EQ(problems, "");
  // scripts/test lints this copy once more, beside its other single checks.
  std::error_code ignored;
  fs::copy_file(metrics, "tallyline.prom", fs::copy_options::overwrite_existing, ignored);
}

}  // namespace
