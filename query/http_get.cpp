#include "query/http_get.h"

#include "query/service_settings.h"

namespace zembrolt {

HttpClientSettings DefaultHttpClientSettings() {
  HttpClientSettings settings;
  settings.extraCaFile = kRankingServiceCaFile;
  return settings;
}

}  // namespace zembrolt
