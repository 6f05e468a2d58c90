// The built tool while the database fails under it: a server that is down,
// restarted or killed in the middle of a run, a server that never answers,
// many runs at once, and logins and statements the database refuses. In each
// case every booking is in the table once or reported and kept in the reject
// file. These tests stop and kill their own cluster, not the one of the
// end-to-end tests.

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "fault_support.h"

namespace {

namespace fs = std::filesystem;

const std::string kFailure = "Exception bei Datenbank Open\n";

class FaultTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The cluster is these tests' own: each starts from an empty table.
    Sql("delete from vorkalin.vrk402zpk");
    dir_.Write("DHWEB05S.TXT", SettingsFile("KFX_PG", "ORACLE"));
  }
  fs::path Input() const { return dir_.path() / "in.txt"; }

  WorkDir dir_;
};

TEST_F(FaultTest, ServerDownForTheWholeRun) {
  const std::string input = NumberedBookings(3);
  dir_.Write("in.txt", input);
  TestDb("down");
  ToolRun run = RunTool(dir_.path(), {"S", "Down", "in.txt"});
  TestDb("up");
  EXPECT_EQ(3u, ExpectEveryBookingAccountedFor(input, Input(), "Down", run));
  EXPECT_EQ(3u, Occurrences(run.out, "\r\nSQLSTATE 08001: ")) << run.out;
}

// Runs `bookings` bookings. Once they are under way, the tool is held while
// `outage` takes the server away, goes on against no server for a moment,
// and is held again while the server comes back; then it finishes.
ToolRun RunThroughOutage(const WorkDir& dir, const std::string& terminal,
                         int bookings, const std::function<void()>& outage) {
  ToolProcess tool(dir.path(), {"S", terminal, "in.txt"});
  EXPECT_TRUE(WaitForRows(terminal, 200, 60)) << "the run did not start";
  tool.Pause();
  // The statement in flight finishes first: a statement cut off after its
  // commit cannot be told from one that failed, by any client.
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  outage();
  tool.Resume();
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  tool.Pause();
  TestDb("up");
  const int rows_before = CountOf(terminal);
  EXPECT_LT(rows_before, bookings) << "the run ended during the outage";
  tool.Resume();
  return tool.Wait();
}

// After the outage the bookings land again through a new connection, and a
// run on the reject file completes the table.
void ExpectRecoveryAndCompleteRerun(const WorkDir& dir,
                                    const std::string& terminal,
                                    const std::string& input,
                                    const ToolRun& run) {
  const size_t reported = ExpectEveryBookingAccountedFor(
      input, dir.path() / "in.txt", terminal, run);
  EXPECT_GE(reported, 1u) << "the outage cost no booking: not inside the run";
  EXPECT_EQ("1\n", Sql("select count(*) from vorkalin.vrk402zpk where "
                       "zpktrm = '" +
                       terminal + "' and zpkasw = 'B10000'"));

  ToolRun rerun = RunTool(dir.path(), {"S", terminal, "in.txt.bad"});
  EXPECT_EQ(0, rerun.exit_code) << rerun.out << rerun.err;
  EXPECT_EQ("10000|10000\n", Sql("select count(*), count(distinct zpkasw) from "
                                 "vorkalin.vrk402zpk where zpktrm = '" +
                                 terminal + "'"));
}

TEST_F(FaultTest, ServerRestartedMidRun) {
  const std::string input = NumberedBookings(10000);
  dir_.Write("in.txt", input);
  ToolRun run =
      RunThroughOutage(dir_, "Restart", 10000, [] { TestDb("down"); });
  ExpectRecoveryAndCompleteRerun(dir_, "Restart", input, run);
}

TEST_F(FaultTest, ServerKilledMidRun) {
  const std::string input = NumberedBookings(10000);
  dir_.Write("in.txt", input);
  ToolRun run = RunThroughOutage(dir_, "Killed", 10000, [] { KillServer(); });
  ExpectRecoveryAndCompleteRerun(dir_, "Killed", input, run);
}

// Takes TCP connections on a loopback port and never sends a byte.
class SilentServer {
 public:
  SilentServer() {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    EXPECT_EQ(0, ::bind(listener_, reinterpret_cast<sockaddr*>(&address),
                        sizeof address));
    EXPECT_EQ(0, ::listen(listener_, 16));
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { AcceptUntilStopped(); });
  }
  ~SilentServer() {
    stop_ = true;
    thread_.join();
    for (int fd : accepted_)
      ::close(fd);
    ::close(listener_);
  }
  int port() const { return port_; }

 private:
  void AcceptUntilStopped() {
    while (!stop_) {
      pollfd wait_for{listener_, POLLIN, 0};
      if (::poll(&wait_for, 1, 100) > 0) {
        const int fd = ::accept(listener_, nullptr, nullptr);
        if (fd >= 0)
          accepted_.push_back(fd);
      }
    }
  }

  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::vector<int> accepted_;
  std::thread thread_;
};

TEST_F(FaultTest, ServerThatNeverAnswersCostsOneLoginTimeoutPerBooking) {
  SilentServer server;
  dir_.Write("odbc.ini",
             "[KFX_SILENT]\nDriver=FreeTDS\nServer=127.0.0.1\n"
             "Port=" +
                 std::to_string(server.port()) + "\nTDS_Version=7.4\n");
  dir_.Write("DHWEB05S.TXT", SettingsFile("KFX_SILENT", "MSSQL"));
  const std::string input = NumberedBookings(2);
  dir_.Write("in.txt", input);
  ToolProcess tool(dir_.path(), {"S", "Silent", "in.txt"}, "run",
                   (dir_.path() / "odbc.ini").string());
  ToolRun run = tool.Wait();
  EXPECT_EQ(2u, ExpectEveryBookingAccountedFor(input, Input(), "Silent", run));
  EXPECT_EQ(2u, Occurrences(run.out, "\r\nSQLSTATE HYT00: ")) << run.out;
}

TEST_F(FaultTest, EightRunsAtOnceWriteEveryBookingOnce) {
  constexpr int kRuns = 8;
  const std::string input = NumberedBookings(5000);
  dir_.Write("in.txt", input);
  std::vector<std::unique_ptr<ToolProcess>> tools;
  for (int i = 0; i < kRuns; ++i) {
    tools.push_back(std::make_unique<ToolProcess>(
        dir_.path(),
        std::vector<std::string>{"S", "Load" + std::to_string(i), "in.txt"},
        "run" + std::to_string(i)));
  }
  for (int i = 0; i < kRuns; ++i) {
    ToolRun run = tools[i]->Wait();
    EXPECT_EQ(0, run.exit_code) << run.out << run.err;
    EXPECT_EQ("5000 Saetze kopiert aus Datei in.txt \n", run.out);
  }
  EXPECT_EQ("40000|40000\n",
            Sql("select count(*), count(distinct (zpktrm, zpkasw)) from "
                "vorkalin.vrk402zpk where zpktrm like 'Load%'"));
  EXPECT_FALSE(fs::exists(dir_.path() / "in.txt.bad"));
}

TEST_F(FaultTest, RefusedLoginsAndStatementsAreReportedForEveryBooking) {
  // The role vrk is at home in vrkdb; in the database postgres the booking
  // table does not exist.
  dir_.Write("odbc.ini",
             FileContent(fs::path(KFX_TESTDB_DIR) / "odbc" / "odbc.ini") +
                 "\n[KFX_NO_TABLE]\nDriver=PostgreSQL Unicode\nServername=" +
                 std::string(KFX_TESTDB_DIR) +
                 "\nPort=54329\nDatabase=postgres\n");
  const struct {
    const char* login;
    const char* password;
    const char* data_source;
    const char* message;  // empty: every booking is written
  } kCases[] = {
      {"vrkpw", "vrkpw-secret", "KFX_PG", ""},
      {"vrkpw", "wrong", "KFX_PG",
       "password authentication failed for user \"vrkpw\""},
      {"vrk", "vrk", "NO_SUCH_DSN", "SQLSTATE IM002: "},
      {"vrkro", "any", "KFX_PG",
       "SQLSTATE 42501: ERROR: permission denied for table vrk402zpk"},
      {"vrk", "vrk", "KFX_NO_TABLE",
       "SQLSTATE 42P01: ERROR: relation \"vorkalin.vrk402zpk\" does not "
       "exist"},
  };
  int case_number = 0;
  for (const auto& c : kCases) {
    const std::string terminal = "Refused" + std::to_string(++case_number);
    SCOPED_TRACE(terminal + " " + c.login + " " + c.data_source);
    dir_.Write("DHWEB05S.TXT",
               SettingsWithLogin(c.login, c.password, c.data_source, "ORACLE"));
    const std::string input = NumberedBookings(2);
    dir_.Write("in.txt", input);
    fs::remove(dir_.path() / "in.txt.bad");
    ToolProcess tool(dir_.path(), {"S", terminal, "in.txt"}, "run",
                     (dir_.path() / "odbc.ini").string());
    ToolRun run = tool.Wait();
    const size_t reported =
        ExpectEveryBookingAccountedFor(input, Input(), terminal, run);
    if (*c.message == '\0') {
      EXPECT_EQ(0u, reported) << run.out;
    } else {
      EXPECT_EQ(2u, reported);
      EXPECT_EQ(2u, Occurrences(run.out, c.message)) << run.out;
    }
  }
}

}  // namespace
