#include "switching/version_file.h"

namespace vorlane {

Text versionFileText(std::string_view head, std::string_view version, std::string_view middle) {
    Text text;
    text.append(head).append(version).append(middle).append(version);
    text.append("</VersionDemoStr>\r\n    <resv1>").append(version);
    text.append("</resv1>\r\n  </ClientConf>\r\n</VersionUpdateData>");
    return text;
}

}  // namespace vorlane
