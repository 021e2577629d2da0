// Entry points of the reader: tokens first, then the body they describe.
#include "acis/body_builder.h"

namespace acis {

namespace {

template <typename Bytes, typename Tokenize>
ParseResult parse(Bytes bytes, Tokenize tokenize) {
  acis::detail::RawModel model;
  ParseResult result;
  support::Status tokenized = tokenize(bytes, model);
  if (!tokenized.ok()) {
    result.error = tokenized.message();
    return result;
  }
  return acis::detail::buildBody(model);
}

}  // namespace

ParseResult parseSat(std::string_view text) { return parse(text, acis::detail::tokenizeSat); }

ParseResult parseSab(std::span<const uint8_t> bytes) { return parse(bytes, acis::detail::tokenizeSab); }

}  // namespace acis
