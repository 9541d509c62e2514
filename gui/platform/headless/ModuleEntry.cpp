// A shared object has no load entry that hands it its handle; the toolkit finds nothing by
// module handle without a windowing system, so this entry records nothing.
namespace gui {
namespace {
[[maybe_unused]] constexpr int kNoModuleEntry = 0;
}  // namespace
}  // namespace gui
