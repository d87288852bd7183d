#include "query/query_flow.h"

namespace zembrolt {

void OnQueryClicked(ControlTexts& /*window*/) {
  // The query is not wired up yet: the button does nothing.
}

}  // namespace zembrolt
