#include "switching/templates.h"

#include "switching/server_addresses.h"

// Every byte counts: the launcher compares these files as they stand, so indents (spaces
// and tabs as given), CR LF line ends and the missing final line ends are kept exactly.
namespace vorlane::templates {

const char* const kVersionHead =
    "<?xml version=\"1.0\" encoding=\"gb2312\"?>\r\n"
    "<VersionUpdateData>\r\n"
    "  <VersionConf>16:16:16:16</VersionConf>\r\n"
    "  <ClientConf>\r\n"
    "      <VersionData>\r\n"
    "           <Version>";

const char* const kVersionMiddle =
    "</Version>\r\n"
    "           <Uin>0</Uin>\r\n"
    "           <WorldID>0.0.0.0</WorldID>\r\n"
    "       </VersionData>\r\n"
    "\t   <VersionDemoStr>";

const char* const kLiveDirServers =
    "<!-- dir server ip ,port   -->\r\n"
    "<Server>\r\n"
    "    <DirServer count=\"5\" SuccessfulServerID=\"1\" SuccessfulPort=\"8080\">\r\n"
    "        <Server1 Catalog=\"\" host=\"" VORLANE_LIVE_SERVER_1 "\" />\r\n"
    "\t\t<Server2 Catalog=\"\" host=\"" VORLANE_LIVE_SERVER_2 "\" />\r\n"
    "\t\t<Server3 Catalog=\"\" host=\"" VORLANE_LIVE_SERVER_3 "\" />\r\n"
    "\t\t<Server4 Catalog=\"\" host=\"" VORLANE_LIVE_SERVER_4 "\" />\r\n"
    "\t\t<Server5 Catalog=\"\" host=\"" VORLANE_LIVE_SERVER_5 "\" />\r\n"
    "        <portlist count=\"3\" port1=\"5223\" port2=\"10009\" port3=\"8080\">0</portlist>\r\n"
    "    </DirServer>\r\n"
    "\r\n"
    "</Server>\r\n";

const char* const kLiveVersionServers =
    "<?xml version=\"1.0\" encoding=\"gb2312\" ?>\r\n"
    "<Server>\r\n"
    "    <versionserver version=\"1\" count=\"5\" SuccessfulServerID=\"1\" SectionTimeOut=\"5000\" "
    "TotalTimeOut=\"600000\" SuccessfulPort=\"10008\">\r\n"
    "       \t<server1 host=\"" VORLANE_LIVE_SERVER_1 "\" />\r\n"
    "\t\t<server2 host=\"" VORLANE_LIVE_SERVER_2 "\" />\r\n"
    "\t\t<server3 host=\"" VORLANE_LIVE_SERVER_3 "\" />\r\n"
    "\t\t<server4 host=\"" VORLANE_LIVE_SERVER_4 "\" />\r\n"
    "\t\t<server5 host=\"" VORLANE_LIVE_SERVER_5 "\" />\r\n"
    "        <portlist count=\"3\" port1=\"10008\" port2=\"8000\" port3=\"443\"/>\r\n"
    "    </versionserver>\r\n"
    "</Server>\r\n"
    " ";

const char* const kLiveServerChoice =
    "[versionserver]\r\n"
    "successfulserverid=4\r\n"
    "successfulport=10008\r\n";

const char* const kTestServerChoice =
    "[versionserver]\r\n"
    "successfulserverid=1\r\n"
    "successfulport=8000\r\n";

const char* const kTestVersionServers =
    "<?xml version=\"1.0\" encoding=\"gb2312\" ?>\r\n"
    "<Server>\r\n"
    "    <versionserver version=\"1\" count=\"1\" SuccessfulServerID=\"1\" SectionTimeOut=\"5000\" "
    "TotalTimeOut=\"600000\" SuccessfulPort=\"10008\">\r\n"
    "        <server1 host=\"" VORLANE_EXPERIENCE_SERVER "\" />\r\n"
    "        <portlist count=\"3\" port1=\"10008\" port2=\"8000\" port3=\"443\"/>\r\n"
    "    </versionserver>\r\n"
    "</Server>\r\n";

const char* const kTestDirServers =
    "<!-- dir server ip ,port   -->\r\n"
    "<Server>\r\n"
    "    <DirServer count=\"1\" SuccessfulServerID=\"1\" SuccessfulPort=\"8080\">\r\n"
    "        <Server1 Catalog=\"\" host=\"" VORLANE_EXPERIENCE_SERVER "\" />\r\n"
    "        <portlist count=\"3\" port1=\"5223\" port2=\"10009\" port3=\"8080\">0</portlist>\r\n"
    "    </DirServer>\r\n"
    "\r\n"
    "</Server>\r\n";

}  // namespace vorlane::templates
