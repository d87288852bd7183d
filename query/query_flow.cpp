#include "query/query_flow.h"

#include "encoding/convert_encoding.h"
#include "encoding/url_escape.h"
#include "query/extract_between.h"
#include "query/http_get.h"

namespace zembrolt {

namespace {

struct Platform {
  const char* display;  // the item of the platform list
  const char* code;     // what the service calls it
};

constexpr Platform kPlatforms[] = {
    {"\xB0\xB2\xD7\xBF - QQ", "aqq"},  // 安卓 - QQ
    {"\xB0\xB2\xD7\xBF - WX", "awx"},  // 安卓 - WX
    {"\xC6\xBB\xB9\xFB - QQ", "iqq"},  // 苹果 - QQ
    {"\xC6\xBB\xB9\xFB - WX", "iwx"},  // 苹果 - WX
};

// Each value is a JSON string cut out up to the member that follows it in the
// service's reply, so the end markers pin the reply's member order.
struct Field {
  const char* startMarker;
  const char* endMarker;
  Control label;
};

constexpr Field kFields[] = {
    {"guobiao\":\"", "\",\"stamp", Control::kNational},
    {"provincePower\":\"", "\",\"guobiao", Control::kGold},
    {"cityPower\":\"", "\",\"province", Control::kSilver},
    {"areaPower\":\"", "\",\"city", Control::kBronze},
    {"updatetime\":\"", "\"},\"msg", Control::kUpdateTime},
    {"province\":\"", "\",\"provincePower", Control::kGoldRegion},
    {"city\":\"", "\",\"cityPower", Control::kSilverRegion},
    {"area\":\"", "\",\"areaPower", Control::kBronzeRegion},
};

constexpr char kQueryPath[] = "/hero/select.php?hero=";
constexpr char kTypeKey[] = "&type=";

}  // namespace

void OnQueryClicked(ControlTexts& window, const Text& serviceBase) {
  for (const Platform& platform : kPlatforms) {
    if (window.ReadControlText(Control::kCombo1) != Text(platform.display)) continue;
    // While the request is under way the frame shows the platform code, and
    // the code goes into the request as the frame holds it.
    window.WriteControlText(Control::kGroup1, platform.code);
    const Text hero = UrlEncodeText(window.ReadControlText(Control::kEdit1), true, true);
    const Text code = window.ReadControlText(Control::kGroup1);
    const Text url = serviceBase + kQueryPath + hero + kTypeKey + code;
    const Text reply = BytesToText(ConvertEncoding(HttpGetBytes(url), "UTF-8", "GB18030"));
    for (const Field& field : kFields) {
      window.WriteControlText(field.label,
                              ExtractBetween(reply, field.startMarker, field.endMarker, 0, false));
    }
    window.WriteControlText(Control::kGroup1, platform.display);
  }
}

}  // namespace zembrolt
