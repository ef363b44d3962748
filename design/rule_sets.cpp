// The one table from the rule set chosen to the rule set itself.
#include "design/design_rules.h"

namespace kj {

const DesignRules& rulesFor(DesignCode code)
{
    switch (code) {
    case DesignCode::Gb50010_2010:
        return gb50010_2010Rules();
    case DesignCode::Default:
        break;
    }
    return defaultRules();
}

} // namespace kj
