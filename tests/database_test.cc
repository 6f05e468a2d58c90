// The connection component against the throwaway cluster: when it opens,
// when it keeps its session, and when it gives it up.

#include <gtest/gtest.h>

#include "db/data_module.h"
#include "db/db_errors.h"

namespace {

class DatabaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db_.SetParam(1, "USER NAME=vrk");
    db_.SetParam(16, "PASSWORD=vrk");
    db_.SetAliasName("KFX_PG");
  }
  TDatabase db_;
};

TEST_F(DatabaseTest, OpensOnFirstUseAndKeepsTheSession) {
  EXPECT_FALSE(db_.Connected());
  // A temporary table lives as long as its session.
  db_.Execute("create temporary table kept(x int)");
  EXPECT_TRUE(db_.Connected());
  db_.Execute("insert into kept values (1)");
  EXPECT_THROW(db_.SetAliasName("OTHER"), EDatabaseError);
}

TEST_F(DatabaseTest, FailedOpenIsTriedAgainByTheNextStatement) {
  db_.SetAliasName("NO_SUCH_DSN");
  try {
    db_.Execute("select 1");
    ADD_FAILURE() << "opened an unknown data source";
  } catch (const EDBEngineError& error) {
    EXPECT_NE(std::string::npos, std::string(error.what()).find("IM002"));
  }
  EXPECT_FALSE(db_.Connected());
  db_.SetAliasName("KFX_PG");
  db_.Execute("select 1");
  EXPECT_TRUE(db_.Connected());
}

TEST_F(DatabaseTest, SessionEndedByTheServerIsGivenUp) {
  db_.Execute("create temporary table gone(x int)");
  EXPECT_THROW(db_.Execute("select pg_terminate_backend(pg_backend_pid())"),
               EDBEngineError);
  EXPECT_FALSE(db_.Connected());
  // A new session: the old one's temporary table is gone with it.
  EXPECT_THROW(db_.Execute("insert into gone values (1)"), EDBEngineError);
  EXPECT_TRUE(db_.Connected());
}

TEST_F(DatabaseTest, FailedStatementLeavesTheSessionUsable) {
  db_.Execute("create temporary table kept(x int)");
  EXPECT_THROW(db_.Execute("insert into kept values ('no number')"),
               EDBEngineError);
  EXPECT_TRUE(db_.Connected());
  db_.Execute("insert into kept values (1)");
}

TEST(QueryTest, ParameterOutsideLiteralsIsNotSent) {
  Tdm1 module;
  module.Qry1.SQL.Add("select :x");
  try {
    module.Qry1.ExecSQL();
    ADD_FAILURE() << "ran a statement with a parameter";
  } catch (const EDatabaseError& error) {
    EXPECT_NE(std::string::npos, std::string(error.what()).find("'x'"));
  }
  EXPECT_FALSE(module.KARVELION.Connected());
}

}  // namespace
