// ecf-server under load, against the bridge called in this process, in one
// run: a status read over POST /call by 1, 8 and 32 clients, each on its own
// kept-alive connection, and by one client on a fresh connection a request,
// with requests per second and the 50th and 99th percentile latencies beside
// those of the same request through kvr_call in-process; then a coupon sold
// by each of two clients at once, each retrying a step answered "busy".
// The server is the build's own program, a child process on a temp machine.
// The clients send without Nagle's delay (TCP_NODELAY), as a client that
// waits for each answer should: the HTTP client writes a request's head and
// body apart, and with the delay on, each kept-alive request waits for the
// server's delayed acknowledgement; one row shows that cost.
#include <fcntl.h>
#include <httplib.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <iostream>
#include <latch>
#include <memory>
#include <mutex>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "kvr00102/kvr_bridge.h"
#include "platform/numbers.h"
#include "sale_bench.h"
#include "test_support/emulated_printer.h"
#include "test_support/temp_environment.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using Json = nlohmann::ordered_json;

constexpr int kRequestsPerClient = 400;
constexpr int kNagleRequests = 25;  // each of them waits out a delayed acknowledgement
constexpr int kInProcessCalls = 2000;
constexpr int kWarmUp = 50;
const std::string kStatusRead = R"({"operation":"NumeroReducoes","arguments":["001",""]})";

double Milliseconds(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// A number with a fixed count of decimals and '.' as the mark, whatever the locale.
std::string Fixed(double value, int decimals) {
  long long scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  const long long scaled = std::llround(std::fabs(value) * static_cast<double>(scale));
  std::string text = (value < 0 && scaled != 0 ? "-" : "") + platform::to_text(scaled / scale);
  if (decimals > 0) text += "." + platform::zero_padded(scaled % scale, decimals);
  return text;
}

std::string Right(const std::string& text, std::size_t width) {
  return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

std::string Left(const std::string& text, std::size_t width) {
  return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

// Nearest rank.
double Percentile(std::vector<double> values, double percent) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const auto rank = static_cast<std::size_t>(std::ceil(percent / 100 * static_cast<double>(values.size())));
  return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

bool IsOk(const std::string& reply) { return reply.rfind(R"({"ok":true)", 0) == 0; }

// --- The requests ------------------------------------------------------------

Json Request(const std::string& operation, Json arguments) {
  Json request = Json::object();
  request["operation"] = operation;
  request["arguments"] = std::move(arguments);
  return request;
}

// The start's parameter record, as the bridge's tests give it.
std::string StartRequest() {
  Json params = Json::object();
  for (const auto& [name, value] : {std::pair{"CDFILIAL", "001"}, {"CDCAIXA", "002"}, {"NRSERIEIMP", "EMU0001"},
                                    {"NRSERIE", "EMU0001"}, {"ESQUEMA", "001"}, {"ESQUEMACOR", "001"},
                                    {"CDPORTAIMPFIS", "COM1"}, {"PORTAIMPFIS", "COM1"}})
    params[name] = value;
  return Request("StartImpFiscal", Json::array({params})).dump();
}

using Fields = std::vector<std::tuple<const char*, const char*, int>>;

Json Dataset(const Fields& fields, Json rows) {
  Json described = Json::array();
  for (const auto& [name, type, size] : fields) {
    Json field = Json::object();
    field["name"] = name;
    field["type"] = type;
    field["size"] = size;
    described.push_back(field);
  }
  Json dataset = Json::object();
  dataset["fields"] = std::move(described);
  dataset["rows"] = std::move(rows);
  return dataset;
}

Json ReceiptTypes() {
  return Dataset({{"CDTIPORECE", "string", 3}, {"NMTIPORECE", "string", 40}, {"IDTIPORECE", "string", 1}},
                 Json::array({Json::array({"001", "Dinheiro", "1"}), Json::array({"002", "Cartao Credito", "2"}),
                              Json::array({"003", "Convenio Empresa", "8"}),
                              Json::array({"004", "Conta Consumidor", "9"}),
                              Json::array({"005", "Ticket Alimentacao X", "5"})}));
}

struct Movement {
  const char* kind;
  const char* receipt_type;
  double amount;
  int minute;  // after 14:00
};

// The sale's cash movements.
Json Movements(const std::vector<Movement>& movements) {
  const Fields fields = {
      {"CDFILIAL", "string", 4},       {"IDTIPOMOVIVE", "string", 1}, {"DTHRINCMOV", "datetime", 0},
      {"CDTIPORECE", "string", 3},     {"NMTIPORECE", "string", 40},  {"IDTIPORECE", "string", 1},
      {"VRMOVIVEND", "float", 0},      {"VRMOVIVEOUT", "float", 0},   {"VRCOTINDOUT", "float", 0},
      {"CDTIPOTROCO", "string", 3},    {"NRORDTROCO", "integer", 0},  {"CDCLIENTE", "string", 15},
      {"CDCONSUMIDOR", "string", 15},  {"DTMOVIMCAIXA", "datetime", 0}, {"DSIMPFISCAL", "string", 50},
      {"CDFPIMPFIS", "string", 10},    {"NRCARTBANCO", "string", 20}, {"CDNSUHOSTTEF", "string", 20},
      {"CDBANCARTCR", "string", 5},    {"CDTIPORECEORIG", "string", 3}};
  Json rows = Json::array();
  for (const Movement& m : movements)
    rows.push_back(Json::array({"001", m.kind, "2009-03-09T14:" + platform::zero_padded(m.minute, 2) + ":00",
                                m.receipt_type, "", "", m.amount, 0.0, 0.0, "", 0, "", "", "2009-03-09T14:00:00", "",
                                "", "", "", "", ""}));
  return Dataset(fields, std::move(rows));
}

Json Item(const char* code, const char* description, double price, double quantity, double discount = 0.0,
          const char* rate = "01", const char* unit = "UN") {
  Json item = Json::object();
  item["ESQUEMACOR"] = "001";
  item["CDARVPROD"] = code;
  item["NMPROD"] = description;
  item["CDALIQ"] = rate;
  item["QTDE"] = quantity;
  item["VALOR"] = price;
  item["DESCONT"] = discount;
  item["UNIDADE"] = unit;
  item["IDUTILTEF"] = "N";
  item["UTILTEF"] = false;
  return item;
}

// The whole sale of the bridge's client test: three items, 2.00 off at the
// closing, 21.63 paid as 10.00 in cash and 11.63 by card.
std::vector<Json> SaleSteps() {
  std::vector<Json> steps;
  Json open = Json::object();
  open["ESQUEMACOR"] = "001";
  open["IDUTILTEF"] = "N";
  open["UTILTEF"] = false;
  steps.push_back(Request("AbreCupom", Json::array({open})));
  for (const Json& sold : {Item("7891000100103", "CAFE EXPRESSO", 4.5, 2.0),
                           Item("42", "BOLO DE CENOURA COM COBERTURA DE CHOCOLATE", 9.99, 1.0, 1.5),
                           Item("7", "AGUA MINERAL", 3.0, 1.0, 0.0, "FF", "GARRAFA")})
    steps.push_back(Request("VendaItem", Json::array({sold})));
  // The closing's 43 positional slots of a plain sale.
  Json slots = Json::array();
  for (int i = 0; i < 43; ++i) slots.push_back("");
  slots[2] = "001";
  slots[3] = 0;
  slots[9] = "N";
  slots[22] = "7";
  slots[23] = "MARIA";
  slots[42] = "000123";
  for (int i : {4, 5, 11}) slots[i] = false;
  for (int i : {6, 7, 8, 37, 38}) slots[i] = 0.0;
  slots[14] = ReceiptTypes();
  slots[6] = 2.0;
  slots[13] = Movements({{"E", "001", 10.0, 1}, {"E", "002", 11.63, 2}});
  slots[21] = "12";
  slots[31] = "B5";
  slots[10] = "VOLTE SEMPRE";
  Json results = Json::array();
  for (int i = 0; i < 10; ++i) results.push_back(nullptr);
  steps.push_back(Request("FechaCupom", Json::array({slots, nullptr, results})));
  return steps;
}

// --- The server --------------------------------------------------------------

// The first line a child writes to `fd`; empty when it ends or stays silent.
std::string FirstLine(int fd, int timeout_ms) {
  std::string line;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
  while (Clock::now() < deadline) {
    pollfd ready{fd, POLLIN, 0};
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (::poll(&ready, 1, static_cast<int>(std::max<long long>(left, 1))) <= 0) continue;
    char c;
    const ssize_t n = ::read(fd, &c, 1);
    if (n <= 0) break;
    if (c == '\n') return line;
    line += c;
  }
  return {};
}

// ecf-server from the build's bin folder on a machine's folders, on a free
// port, until the object goes away.
class ServerProcess {
 public:
  explicit ServerProcess(const test_support::TempEnvironment& machine) {
    const std::string token_file = machine.root() + "/token";
    std::vector<std::string> args = {test_support::bin_directory() + "/ecf-server",
                                     "--port", "0", "--token-file", token_file,
                                     "--system-dir", machine.system_dir(),
                                     "--exe-dir", machine.exe_dir(),
                                     "--drive-c", machine.drive_c(),
                                     "--record-store", machine.exe_dir() + "/rec.db"};
    std::vector<char*> argv;
    for (auto& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    int ends[2];
    if (::pipe(ends) != 0) throw std::runtime_error("cannot make a pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, ends[1], 1);
    posix_spawn_file_actions_addclose(&actions, ends[0]);
    posix_spawn_file_actions_addclose(&actions, ends[1]);
    const int spawned = ::posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(ends[1]);
    output_ = ends[0];
    if (spawned != 0) {
      pid_ = -1;
      Stop();
      throw std::runtime_error("cannot start " + args[0]);
    }
    // "ecf-server listening on http://127.0.0.1:PORT/ (token in ...)"
    const std::string banner = FirstLine(output_, 20000);
    const std::string mark = "listening on http://127.0.0.1:";
    const std::size_t at = banner.find(mark);
    const std::size_t digits = at == std::string::npos ? 0 : at + mark.size();
    const auto port = at == std::string::npos
                          ? std::nullopt
                          : platform::parse_integer(banner.substr(digits, banner.find('/', digits) - digits));
    if (!port) {
      Stop();
      throw std::runtime_error("ecf-server did not start: \"" + banner + "\"");
    }
    port_ = static_cast<int>(*port);
    token_ = test_support::read_file_or_empty(token_file);
    while (!token_.empty() && (token_.back() == '\n' || token_.back() == '\r' || token_.back() == ' '))
      token_.pop_back();
  }
  ~ServerProcess() { Stop(); }
  ServerProcess(const ServerProcess&) = delete;
  ServerProcess& operator=(const ServerProcess&) = delete;

  int port() const { return port_; }
  const std::string& token() const { return token_; }
  bool Running() {
    int status = 0;
    if (pid_ > 0 && ::waitpid(pid_, &status, WNOHANG) == pid_) pid_ = -1;
    return pid_ > 0;
  }

 private:
  // Asks the server to end; kills it when it has not ended in ten seconds.
  void Stop() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      int status = 0;
      const auto deadline = Clock::now() + std::chrono::seconds(10);
      while (::waitpid(pid_, &status, WNOHANG) == 0) {
        if (Clock::now() > deadline) {
          ::kill(pid_, SIGKILL);
          ::waitpid(pid_, &status, 0);
          break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
      pid_ = -1;
    }
    if (output_ >= 0) ::close(output_);
    output_ = -1;
  }

  pid_t pid_ = -1;
  int output_ = -1;
  int port_ = 0;
  std::string token_;
};

// How a client talks to the server.
struct Link {
  bool keep_alive = true;
  bool no_delay = true;  // TCP_NODELAY
};

// A client of the server; `connections` counts the sockets it opens.
std::unique_ptr<httplib::Client> Connect(const ServerProcess& server, Link link, std::atomic<int>& connections) {
  auto client = std::make_unique<httplib::Client>("127.0.0.1", server.port());
  client->set_keep_alive(link.keep_alive);
  client->set_tcp_nodelay(link.no_delay);
  client->set_bearer_token_auth(server.token());
  client->set_connection_timeout(10, 0);
  client->set_read_timeout(60, 0);
  client->set_socket_options([&connections](socket_t) { connections.fetch_add(1); });
  return client;
}

struct Answer {
  int status = 0;
  std::string body;
  std::string failure;  // the transport's error, when there is no answer
};

Answer Post(httplib::Client& client, const std::string& body) {
  auto result = client.Post("/call", body, "application/json");
  if (!result) return {0, {}, httplib::to_string(result.error())};
  return {result->status, result->body, {}};
}

// --- The measures ------------------------------------------------------------

struct Figures {
  double per_second = 0, p50_ms = 0, p99_ms = 0, max_ms = 0;
  long long failures = 0;
  int connections = 0;
  long long listen_drops = -1;  // connections the system dropped at the server's full listen queue
  std::string first_failure;
};

Figures Summarize(const std::vector<double>& latencies, double seconds) {
  Figures figures;
  figures.per_second = seconds > 0 ? static_cast<double>(latencies.size()) / seconds : 0;
  figures.p50_ms = Percentile(latencies, 50);
  figures.p99_ms = Percentile(latencies, 99);
  figures.max_ms = Percentile(latencies, 100);
  return figures;
}

std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  std::size_t start = 0;
  while (start < line.size()) {
    const std::size_t end = std::min(line.find(' ', start), line.size());
    if (end > start) words.push_back(line.substr(start, end - start));
    start = end + 1;
  }
  return words;
}

// The system's count of connections dropped because a listen queue was full
// (Linux: TcpExt ListenDrops); -1 where it cannot be read.
long long ListenDrops() {
  const std::string text = test_support::read_file_or_empty("/proc/net/netstat");
  // Pairs of lines: "TcpExt: Name ..." then "TcpExt: value ...".
  const std::size_t names_at = text.find("TcpExt: ");
  if (names_at == std::string::npos) return -1;
  const std::size_t names_end = text.find('\n', names_at);
  if (names_end == std::string::npos) return -1;
  const std::size_t values_end = std::min(text.find('\n', names_end + 1), text.size());
  const auto names = Words(text.substr(names_at, names_end - names_at));
  const auto values = Words(text.substr(names_end + 1, values_end - names_end - 1));
  for (std::size_t i = 0; i < names.size() && i < values.size(); ++i)
    if (names[i] == "ListenDrops") return platform::parse_integer(values[i]).value_or(-1);
  return -1;
}

// The status read through kvr_call in this process, on a machine of its own.
Figures InProcess() {
  sale_bench::Machine machine;
  auto call = machine.driver->function<decltype(kvr_call)>("kvr_call");
  auto release = machine.driver->function<decltype(kvr_free)>("kvr_free");
  auto reply_to = [&](const std::string& request) {
    char* reply = call(request.c_str());
    std::string text = reply ? reply : "";
    release(reply);
    return text;
  };
  const std::string started = reply_to(StartRequest());
  if (!IsOk(started) || started.find(R"("result":true)") == std::string::npos)
    throw std::runtime_error("the driver did not start in-process: " + started);
  for (int i = 0; i < kWarmUp; ++i) reply_to(kStatusRead);
  std::vector<double> latencies;
  latencies.reserve(kInProcessCalls);
  long long failures = 0;
  const auto start = Clock::now();
  for (int i = 0; i < kInProcessCalls; ++i) {
    const auto t0 = Clock::now();
    char* reply = call(kStatusRead.c_str());
    latencies.push_back(Milliseconds(Clock::now() - t0));
    if (!reply || !IsOk(reply)) ++failures;
    release(reply);
  }
  Figures figures = Summarize(latencies, Milliseconds(Clock::now() - start) / 1000);
  figures.failures = failures;
  return figures;
}

// `clients` threads, each with its own client, each sending the status read
// `requests` times, all starting together.
Figures OverHttp(const ServerProcess& server, int clients, int requests, Link link) {
  std::vector<std::vector<double>> latencies(static_cast<std::size_t>(clients));
  std::atomic<int> connections{0};
  std::atomic<long long> failures{0};
  std::mutex failure_mutex;
  std::string first_failure;
  std::latch ready(clients + 1);
  std::vector<std::thread> threads;
  for (int c = 0; c < clients; ++c)
    threads.emplace_back([&, c] {
      auto client = Connect(server, link, connections);
      auto& mine = latencies[static_cast<std::size_t>(c)];
      mine.reserve(static_cast<std::size_t>(requests));
      ready.arrive_and_wait();
      for (int i = 0; i < requests; ++i) {
        const auto t0 = Clock::now();
        const Answer answer = Post(*client, kStatusRead);
        mine.push_back(Milliseconds(Clock::now() - t0));
        if (answer.status == 200 && IsOk(answer.body)) continue;
        failures.fetch_add(1);
        std::lock_guard lock(failure_mutex);
        if (first_failure.empty())
          first_failure = answer.failure.empty()
                              ? "HTTP " + platform::to_text(answer.status) + " " + answer.body.substr(0, 200)
                              : answer.failure;
      }
    });
  const long long drops_before = ListenDrops();
  ready.arrive_and_wait();
  const auto start = Clock::now();
  for (auto& thread : threads) thread.join();
  const double seconds = Milliseconds(Clock::now() - start) / 1000;
  std::vector<double> all;
  for (const auto& mine : latencies) all.insert(all.end(), mine.begin(), mine.end());
  Figures figures = Summarize(all, seconds);
  figures.failures = failures.load();
  figures.connections = connections.load();
  figures.first_failure = first_failure;
  const long long drops_after = ListenDrops();
  if (drops_before >= 0 && drops_after >= 0) figures.listen_drops = drops_after - drops_before;
  return figures;
}

struct Sale {
  std::string client;
  bool whole = false;    // the closing's result was true
  bool skipped = false;  // the bridge refused the client's name
  int busy = 0;
  double ms = 0;
  std::string failure;
};

// One coupon sold by a named client on its own kept-alive connection; a step
// answered "busy" is sent again after a short wait.
Sale Sell(const ServerProcess& server, const std::string& name, std::latch& start) {
  Sale sale;
  sale.client = name;
  std::atomic<int> connections{0};
  auto client = Connect(server, Link{}, connections);
  const std::vector<Json> steps = SaleSteps();
  start.arrive_and_wait();
  const auto t0 = Clock::now();
  for (std::size_t i = 0; i < steps.size() && sale.failure.empty() && !sale.skipped; ++i) {
    Json request = Json::object();
    request["client"] = name;
    for (const auto& [key, value] : steps[i].items()) request[key] = value;
    const std::string operation = steps[i]["operation"].get<std::string>();
    const std::string body = request.dump();
    const auto deadline = Clock::now() + std::chrono::seconds(30);
    for (;;) {
      const Answer answer = Post(*client, body);
      if (!answer.failure.empty()) {
        sale.failure = operation + ": " + answer.failure;
        break;
      }
      const Json reply = Json::parse(answer.body, nullptr, false);
      if (reply.is_discarded() || !reply.is_object()) {
        sale.failure = operation + ": not a JSON object: " + answer.body.substr(0, 200);
        break;
      }
      if (reply.value("ok", false)) {
        const bool result = reply.contains("result") && reply["result"] == true;
        if (i + 1 == steps.size())
          sale.whole = result;
        else if (!result)
          sale.failure = operation + " answered false";
        break;
      }
      const Json error = reply.value("error", Json::object());
      const std::string code = error.value("code", "");
      if (code == "busy" && Clock::now() < deadline) {
        ++sale.busy;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        continue;
      }
      if (code == "bad_request" && error.dump().find("client") != std::string::npos)
        sale.skipped = true;
      else
        sale.failure = operation + ": " + error.dump();
      break;
    }
  }
  sale.ms = Milliseconds(Clock::now() - t0);
  return sale;
}

// The server machine's printer, fresh, with the card payment form the sale
// pays with; written to the printer's folder before the server loads it.
void PreparePrinter() {
  test_support::EmulatedPrinter printer;
  printer.reload();
  printer.reset();
  if (printer.entry<int(const char*, const char*)>("Bematech_FI_ProgramaFormaPagamentoMFD")("Cartao Credito", "1") !=
      1)
    throw std::runtime_error("the printer did not take the card payment form");
}

std::string Ratio(double value, double base) { return base > 0 ? Fixed(value / base, 1) + "x" : "-"; }

void PrintRow(const std::string& clients, const std::string& connection, const Figures& f, const Figures& base,
              bool http) {
  std::cout << Left(clients, 8) << Left(connection, 21) << Right(Fixed(f.per_second, 0), 8)
            << Right(Fixed(f.p50_ms, 3), 9) << Right(Fixed(f.p99_ms, 3), 10) << Right(Fixed(f.max_ms, 3), 10)
            << Right(http ? Ratio(f.p50_ms, base.p50_ms) : "1.0x", 8)
            << Right(http ? Ratio(f.p99_ms, base.p99_ms) : "1.0x", 8)
            << Right(http ? platform::to_text(f.connections) : "-", 7) << Right(platform::to_text(f.failures), 9)
            << Right(http && f.listen_drops >= 0 ? platform::to_text(f.listen_drops) : "-", 13) << "\n";
  if (!f.first_failure.empty()) std::cout << "        first failure: " << f.first_failure << "\n";
}

}  // namespace

int main() {
  sale_bench::PreferMemoryTemp();
  try {
    const Figures direct = InProcess();

    test_support::TempEnvironment machine;
    PreparePrinter();
    ServerProcess server(machine);
    {
      std::atomic<int> connections{0};
      auto client = Connect(server, Link{}, connections);
      const Answer started = Post(*client, StartRequest());
      if (started.status != 200 || started.body.find(R"("result":true)") == std::string::npos)
        throw std::runtime_error("StartImpFiscal over HTTP failed: " + started.failure + started.body);
      for (int i = 0; i < kWarmUp; ++i) Post(*client, kStatusRead);
    }

    std::cout << "POST /call NumeroReducoes on ecf-server, " << kRequestsPerClient
              << " requests a client, against kvr_call in-process (" << kInProcessCalls << " calls)\n\n"
              << Left("clients", 8) << Left("connection", 21) << Right("req/s", 8) << Right("p50 ms", 9)
              << Right("p99 ms", 10) << Right("max ms", 10) << Right("p50/in", 8) << Right("p99/in", 8)
              << Right("conns", 7) << Right("failures", 9) << Right("listen drops", 13) << "\n";
    PrintRow("-", "kvr_call in-process", direct, direct, false);
    Figures kept_alive_one;
    for (int clients : {1, 8, 32}) {
      const Figures figures = OverHttp(server, clients, kRequestsPerClient, Link{});
      if (clients == 1) kept_alive_one = figures;
      PrintRow(platform::to_text(clients), "kept-alive", figures, direct, true);
    }
    const Figures fresh = OverHttp(server, 1, kRequestsPerClient, Link{.keep_alive = false});
    PrintRow("1", "fresh each request", fresh, direct, true);
    const Figures nagle = OverHttp(server, 1, kNagleRequests, Link{.no_delay = false});
    PrintRow("1", "kept-alive, Nagle", nagle, direct, true);
    std::cout << "(kept-alive, Nagle: the client without TCP_NODELAY, " << kNagleRequests << " requests)\n";
    std::cout << "\nfresh connection against kept-alive, 1 client: p50 " << Ratio(fresh.p50_ms, kept_alive_one.p50_ms)
              << ", p99 " << Ratio(fresh.p99_ms, kept_alive_one.p99_ms) << ", requests/s "
              << Ratio(fresh.per_second, kept_alive_one.per_second) << "\n\n";

    std::latch start(3);
    Sale sales[2];
    std::thread first([&] { sales[0] = Sell(server, "till-1", start); });
    std::thread second([&] { sales[1] = Sell(server, "till-2", start); });
    start.arrive_and_wait();
    first.join();
    second.join();
    if (sales[0].skipped || sales[1].skipped) {
      std::cout << "sale of two clients: skipped (the bridge does not take client names yet)\n";
    } else {
      std::cout << "sale of two clients at once (AbreCupom, 3 VendaItem, FechaCupom each):\n";
      for (const Sale& sale : sales) {
        std::cout << "  " << sale.client << ": " << Fixed(sale.ms, 1) << " ms, " << platform::to_text(sale.busy)
                  << " busy answers, coupon " << (sale.whole ? "whole" : "NOT whole") << "\n";
        if (!sale.failure.empty()) std::cout << "    failure: " << sale.failure << "\n";
      }
      std::cout << "  both coupons whole: " << (sales[0].whole && sales[1].whole ? "yes" : "no") << "\n";
    }
    if (!server.Running()) {
      std::cout << "ecf-server ended during the run\n";
      return 1;
    }
    return sales[0].failure.empty() && sales[1].failure.empty() ? 0 : 1;
  } catch (const std::exception& e) {
    std::cerr << "bench_ecf_server: " << e.what() << "\n";
    return 1;
  }
}
