// Entry points of the reader: tokens first, then the body they describe.
#include "acis/body_builder.h"

namespace acis {

namespace {

template <typename Bytes, typename Tokenize>
ParseResult parse(Bytes bytes, Tokenize tokenize) {
  acis_detail::RawModel model;
  ParseResult result;
  if (!tokenize(bytes, model, result.error)) return result;
  return acis_detail::buildBody(model);
}

}  // namespace

ParseResult parseSat(std::string_view text) { return parse(text, acis_detail::tokenizeSat); }

ParseResult parseSab(std::span<const uint8_t> bytes) { return parse(bytes, acis_detail::tokenizeSab); }

}  // namespace acis
