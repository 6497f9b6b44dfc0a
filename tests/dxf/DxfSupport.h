#pragma once
// Helpers of the DXF suite: sample files, DXF text built from pairs, drawings loaded from bytes.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/sim/database/SimDatabase.h"
#include "support/Gbk.h"

namespace velmarin::dxftest {

using Pairs = std::vector<std::pair<int, std::string>>;

// The bytes of a file in tests/data/dxf.
std::string Sample(const std::string& name);

using velmarin::testing::G;

// DXF text of group-code/value pairs, one per two lines ending in `lineEnd`.
std::string Dxf(const Pairs& pairs, const std::string& lineEnd = "\n");

// A file of the 2000 format: a header (version, code page, $HANDSEED), a layer table with the
// given layers, and `entities` as the ENTITIES section.
std::string R2000File(const Pairs& entities, const std::string& codePage = "ANSI_936",
                      const std::vector<std::string>& layers = {"0"},
                      const std::string& version = "AC1015");

// Loads DXF bytes; a failure fails the test and gives null.
std::unique_ptr<host::sim::SimDatabase> Load(const std::string& bytes,
                                             const std::string& label = "t.dxf");

// The model-space entities in storage order (erased ones skipped).
std::vector<const host::Entity*> ModelSpace(const host::sim::SimDatabase& db);

// The drawing as the emulator's JSON drawing file: a complete account of what was read.
std::string Described(const host::sim::SimDatabase& db);

// Every line of `text` that holds the group code `code` is followed by its value: the values.
std::vector<std::string> ValuesOf(const std::string& dxf, int code);

}  // namespace velmarin::dxftest
