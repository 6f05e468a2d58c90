#include "config/connection_setup.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "db/data_module.h"
#include "run_state.h"

namespace {

namespace fs = std::filesystem;

TEST(SettingsPathTest, IsTheInputFilesDirectoryPlusTheFileName) {
  const struct {
    const char* input;
    const char* settings;
  } kCases[] = {
      {"C:\\data\\in.txt", "C:\\data\\DHWEB05S.TXT"},
      {"C:in.txt", "C:DHWEB05S.TXT"},
      {"in.txt", "DHWEB05S.TXT"},
      {"", "DHWEB05S.TXT"},
      {"/var/spool/zut/in.txt", "/var/spool/zut/DHWEB05S.TXT"},
      {"data\\sub/in.txt", "data\\sub/DHWEB05S.TXT"},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(c.settings, SettingsPathFor(c.input)) << c.input;
  }
}

class LoadDbInfoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ =
        fs::temp_directory_path() / ("kfx_setup_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
    InputFilePath = (dir_ / "in.txt").string();
    DebugMode = false;
    DbSystem.clear();
    module_ = std::make_unique<Tdm1>();
    dm1 = module_.get();
  }
  void TearDown() override {
    dm1 = nullptr;
    fs::remove_all(dir_);
  }

  void WriteSettings(const std::string& content) {
    std::ofstream(dir_ / "DHWEB05S.TXT", std::ios::binary) << content;
  }

  int LoadCapturing(std::string* out) {
    ::testing::internal::CaptureStdout();
    const int result = LoadDbInfo();
    std::fflush(stdout);
    *out = ::testing::internal::GetCapturedStdout();
    return result;
  }

  fs::path dir_;
  std::unique_ptr<Tdm1> module_;
};

constexpr char kCompleteSettings[] =
    ";S;\n1;LOGIN;U\n;S;\n2;PASS;P\n;S;\n3;DATABASE;D\n;S;\n4;DB_SYSTEM;"
    "ORACLE\n";

TEST_F(LoadDbInfoTest, WritesUserPasswordAndSourceIntoTheConnection) {
  WriteSettings(kCompleteSettings);
  std::string out;
  ASSERT_EQ(0, LoadCapturing(&out));
  EXPECT_EQ("", out);
  EXPECT_EQ("ORACLE", DbSystem);

  const TDatabase& db = dm1->KARVELION;
  ASSERT_EQ(17, db.ParamCount());
  EXPECT_EQ("DATABASE NAME=", db.Param(0));
  EXPECT_EQ("USER NAME=U", db.Param(1));
  EXPECT_EQ("ODBC DSN=D", db.Param(2));
  EXPECT_EQ("OPEN MODE=READ/WRITE", db.Param(3));
  EXPECT_EQ("SQLPASSTHRU MODE=SHARED AUTOCOMMIT", db.Param(7));
  EXPECT_EQ("PASSWORD=P", db.Param(16));
  EXPECT_EQ("D", db.AliasName());
}

TEST_F(LoadDbInfoTest, DebugModeShowsTheSettingsInOrder) {
  WriteSettings(kCompleteSettings);
  DebugMode = true;
  std::string out;
  ASSERT_EQ(0, LoadCapturing(&out));
  EXPECT_EQ(
      " DB-Informationen:\n  DbSys  = 'ORACLE'\n  DbName = 'D'\n"
      "  DbUsr  = 'U'\n  DbPwd  = 'P'\n",
      out);
}

TEST_F(LoadDbInfoTest, MissingSettingEndsWithCode5AndLeavesTheConnection) {
  WriteSettings(";S;\n1;LOGIN;U\n;S;\n2;PASS;P\n;S;\n3;DATABASE;D\n");
  DebugMode = true;
  std::string out;
  ASSERT_EQ(5, LoadCapturing(&out));
  EXPECT_TRUE(out.starts_with(" DB-Informationen:\n  DbSys  = ''\n"));
  EXPECT_NE(std::string::npos,
            out.find("Fehler beim Ermitteln der DB-Infos\n"
                     "Quelle: '..\\..\\FILES\\KARVELION.INI'\n\n"
                     "Befehlsformat: \n"));
  EXPECT_EQ("USER NAME=", dm1->KARVELION.Param(1));
  EXPECT_EQ("", dm1->KARVELION.AliasName());
}

TEST_F(LoadDbInfoTest, LoneLineBreakCountsAsAValue) {
  WriteSettings(
      ";S;\n1;LOGIN;U\n;S;\n2;PASS;\n;S;\n3;DATABASE;D\n;S;\n4;DB_SYSTEM;"
      "MSSQL\n");
  std::string out;
  ASSERT_EQ(0, LoadCapturing(&out));
  EXPECT_EQ("PASSWORD=\n", dm1->KARVELION.Param(16));
}

TEST(DataModuleTest, HoldsTheStoredSettings) {
  Tdm1 module;
  EXPECT_EQ("VRDB", module.KARVELION.DatabaseName);
  EXPECT_FALSE(module.KARVELION.LoginPrompt);
  EXPECT_EQ("Default", module.KARVELION.SessionName);
  EXPECT_TRUE(module.KARVELION.KeepConnection);
  EXPECT_EQ("VRDB", module.Qry1.DatabaseName);
  EXPECT_TRUE(module.Qry1.ParamCheck);
  EXPECT_EQ(0, module.Qry1.SQL.Count());
  const char* kLines[] = {"DATABASE NAME=",
                          "USER NAME=",
                          "ODBC DSN=",
                          "OPEN MODE=READ/WRITE",
                          "SCHEMA CACHE SIZE=8",
                          "SQLQRYMODE=",
                          "LANGDRIVER=",
                          "SQLPASSTHRU MODE=SHARED AUTOCOMMIT",
                          "SCHEMA CACHE TIME=-1",
                          "MAX ROWS=-1",
                          "BATCH COUNT=200",
                          "ENABLE SCHEMA CACHE=FALSE",
                          "SCHEMA CACHE DIR=",
                          "ENABLE BCD=FALSE",
                          "ROWSET SIZE=20",
                          "BLOBS TO CACHE=64",
                          "PASSWORD="};
  ASSERT_EQ(17, module.KARVELION.ParamCount());
  for (int i = 0; i < 17; ++i) {
    EXPECT_EQ(kLines[i], module.KARVELION.Param(i)) << i;
  }
}

}  // namespace
