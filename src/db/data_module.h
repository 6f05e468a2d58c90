#ifndef KFX_DB_DATA_MODULE_H_
#define KFX_DB_DATA_MODULE_H_

// The data module: the one connection and the one query the program uses.

#include "db/database.h"
#include "db/query.h"

class TDataModule {
 public:
  virtual ~TDataModule() = default;
};

class Tdm1 : public TDataModule {
 public:
  Tdm1() : Qry1(&KARVELION) {}

  TDatabase KARVELION;
  TQuery Qry1;
};

// Created at the start of the run and never destroyed.
extern Tdm1* dm1;

#endif  // KFX_DB_DATA_MODULE_H_
