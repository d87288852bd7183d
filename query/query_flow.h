// What the query button does.
#ifndef ZEMBROLT_QUERY_QUERY_FLOW_H_
#define ZEMBROLT_QUERY_QUERY_FLOW_H_

#include "query/control_texts.h"

namespace zembrolt {

// Runs one query for the platform and hero shown in `window` and writes the
// eight values into its labels. Reports nothing; a failed query empties them.
void OnQueryClicked(ControlTexts& window);

}  // namespace zembrolt

#endif  // ZEMBROLT_QUERY_QUERY_FLOW_H_
