#include "Lv2TestHost.h"

#include "lv2/atom/atom.h"
#include "lv2/buf-size/buf-size.h"

namespace {

LV2_URID mapUri(LV2_URID_Map_Handle handle, const char* uri) {
  return static_cast<Lv2TestHost*>(handle)->map(uri);
}

}  // namespace

Lv2TestHost::Lv2TestHost(const std::string& folder, const char* pluginUri)
    : world(lilv_world_new()) {
  LilvNode* path = lilv_new_string(world, folder.c_str());
  lilv_world_set_option(world, LILV_OPTION_LV2_PATH, path);
  lilv_node_free(path);
  lilv_world_load_all(world);
  LilvNode* uri = lilv_new_uri(world, pluginUri);
  found = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world), uri);
  lilv_node_free(uri);

  mapFeature = {this, mapUri};
  unmapFeature = {this, [](LV2_URID_Unmap_Handle handle, LV2_URID urid) -> const char* {
                    const auto& known = static_cast<Lv2TestHost*>(handle)->uris;
                    return urid >= 1 && urid <= known.size() ? known[urid - 1].c_str() : nullptr;
                  }};
  const LV2_URID intType = map(LV2_ATOM__Int);
  options = {
      {LV2_OPTIONS_INSTANCE, 0, map(LV2_BUF_SIZE__maxBlockLength), sizeof blockLength, intType,
       &blockLength},
      {LV2_OPTIONS_INSTANCE, 0, map(LV2_BUF_SIZE__minBlockLength), sizeof blockLength, intType,
       &blockLength},
      {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr},
  };
  featureRecords = {{LV2_URID__map, &mapFeature},
                    {LV2_URID__unmap, &unmapFeature},
                    {LV2_OPTIONS__options, options.data()},
                    {LV2_BUF_SIZE__boundedBlockLength, nullptr}};
  for (const LV2_Feature& feature : featureRecords) features.push_back(&feature);
  features.push_back(nullptr);
}

Lv2TestHost::~Lv2TestHost() { lilv_world_free(world); }

int Lv2TestHost::portIndex(const char* symbol) const {
  if (found == nullptr) return -1;
  LilvNode* name = lilv_new_string(world, symbol);
  const LilvPort* port = lilv_plugin_get_port_by_symbol(found, name);
  lilv_node_free(name);
  return port ? static_cast<int>(lilv_port_get_index(found, port)) : -1;
}

LV2_URID Lv2TestHost::map(const char* uri) {
  for (size_t i = 0; i < uris.size(); ++i)
    if (uris[i] == uri) return static_cast<LV2_URID>(i + 1);
  uris.emplace_back(uri);
  return static_cast<LV2_URID>(uris.size());
}
