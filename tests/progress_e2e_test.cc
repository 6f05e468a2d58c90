// The progress line of the built tool: on a terminal it shows and is gone
// before the summary; otherwise nothing of it appears; standard output is
// the same either way.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "e2e_support.h"

namespace {

constexpr int kBookings = 5;

// Every booking of a terminal named Slow... takes 0.4 s in the database, so
// a run of five lasts past the second after which the line appears, however
// fast the machine.
void SlowDownSlowTerminals() {
  Sql("CREATE OR REPLACE FUNCTION vorkalin.slow_booking() RETURNS trigger "
      "LANGUAGE plpgsql AS $$ BEGIN PERFORM pg_sleep(0.4); RETURN NEW; END "
      "$$");
  Sql("CREATE OR REPLACE TRIGGER slow_booking BEFORE INSERT ON "
      "vorkalin.vrk402zpk FOR EACH ROW WHEN (NEW.zpktrm LIKE 'Slow%') "
      "EXECUTE FUNCTION vorkalin.slow_booking()");
}

class ProgressE2eTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SlowDownSlowTerminals();
    dir_.Write("DHWEB05S.TXT", SettingsFile("KFX_PG", "ORACLE"));
    std::string input;
    for (int i = 0; i < kBookings; ++i)
      input += Booking("P" + std::to_string(i), "150306", "073015", "03", '1');
    dir_.Write("in.txt", input);
  }

  WorkDir dir_;
  const std::string summary_ = "5 Saetze kopiert aus Datei in.txt \n";
};

TEST_F(ProgressE2eTest, NothingOfItWhenStandardErrorIsNoTerminal) {
  ToolRun run = RunTool(dir_.path(), {"S", "SlowPipe", "in.txt"});
  EXPECT_EQ(0, run.exit_code);
  EXPECT_EQ(summary_, run.out);
  EXPECT_EQ("", run.err);
  EXPECT_EQ(kBookings, CountOf("SlowPipe"));
}

TEST_F(ProgressE2eTest, OnATerminalItShowsAndIsClearedBeforeTheSummary) {
  // script gives the tool a terminal for standard error and copies what
  // appears on it; standard output goes to a file.
  const std::string pty = (dir_.path() / "pty.txt").string();
  const std::string out = (dir_.path() / "out.txt").string();
  const std::string inner =
      ToolCommand(dir_.path(), {"S", "SlowPty", "in.txt"}) + " >" +
      ShellQuoted(out);
  const std::string command = "script -qec " + ShellQuoted(inner) +
                              " /dev/null </dev/null >" + ShellQuoted(pty);
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(0, WEXITSTATUS(status));
  EXPECT_EQ(summary_, FileContent(out));
  EXPECT_EQ(kBookings, CountOf("SlowPty"));

  const std::string screen = FileContent(pty);
  EXPECT_NE(std::string::npos, screen.find(" von 5 Buchungen (")) << screen;
  // The last thing written blanks the line out and returns to its start.
  ASSERT_TRUE(screen.size() >= 3 && screen.back() == '\r') << screen;
  const size_t blank_from = screen.rfind('\r', screen.size() - 2) + 1;
  const std::string last =
      screen.substr(blank_from, screen.size() - 1 - blank_from);
  EXPECT_FALSE(last.empty());
  EXPECT_EQ(std::string(last.size(), ' '), last) << screen;
}

}  // namespace
