// What the query button does.
#ifndef ZEMBROLT_QUERY_QUERY_FLOW_H_
#define ZEMBROLT_QUERY_QUERY_FLOW_H_

#include "encoding/text.h"
#include "query/control_texts.h"

namespace zembrolt {

// Queries the ranking service at `serviceBase` (scheme and host, the build's
// kRankingServiceBase in the tool) for the platform and hero shown in
// `window`, and writes the eight values into its labels as they are cut out.
// Reports nothing: a failed query empties the labels. A platform text that
// names no platform sends nothing and changes nothing.
void OnQueryClicked(ControlTexts& window, const Text& serviceBase);

}  // namespace zembrolt

#endif  // ZEMBROLT_QUERY_QUERY_FLOW_H_
