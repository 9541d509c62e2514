// An LV2 host for the tests on the hosts' own library (lilv): loads the bundles of one folder,
// finds the plug-in and offers the features a host offers.
#pragma once

#include <lilv/lilv.h>

#include <string>
#include <vector>

#include "lv2/core/lv2.h"
#include "lv2/options/options.h"
#include "lv2/urid/urid.h"

class Lv2TestHost {
 public:
  Lv2TestHost(const std::string& folder, const char* pluginUri);
  ~Lv2TestHost();
  Lv2TestHost(const Lv2TestHost&) = delete;
  Lv2TestHost& operator=(const Lv2TestHost&) = delete;

  const LilvPlugin* plugin() const { return found; }  // null when the URI is not there
  // The port's index, or -1.
  int portIndex(const char* symbol) const;
  LV2_URID map(const char* uri);
  LV2_URID_Map* uridMap() { return &mapFeature; }
  LilvWorld* lilvWorld() const { return world; }
  // URID map and unmap, options (block lengths) and bounded block length.
  const LV2_Feature* const* everyFeature() { return features.data(); }

  static constexpr int kMaxBlock = 4096;

 private:
  LilvWorld* world;
  const LilvPlugin* found = nullptr;
  std::vector<std::string> uris;
  LV2_URID_Map mapFeature;
  LV2_URID_Unmap unmapFeature;
  int32_t blockLength = kMaxBlock;
  std::vector<LV2_Options_Option> options;
  std::vector<LV2_Feature> featureRecords;
  std::vector<const LV2_Feature*> features;
};
