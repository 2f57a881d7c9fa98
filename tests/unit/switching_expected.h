#pragma once
// The launcher files as the player's launcher must receive them, written out by hand line
// by line. {L1}..{L5} and {E1} stand for the configured server addresses, {V} for the
// typed version.
#include "base/text.h"
#include "switching/server_addresses.h"

namespace vorlane::testing::expected {

inline Text withServers(const char* text) {
    Text t = text;
    const char* const slots[][2] = {
        {"{L1}", VORLANE_LIVE_SERVER_1}, {"{L2}", VORLANE_LIVE_SERVER_2}, {"{L3}", VORLANE_LIVE_SERVER_3},
        {"{L4}", VORLANE_LIVE_SERVER_4}, {"{L5}", VORLANE_LIVE_SERVER_5}, {"{E1}", VORLANE_EXPERIENCE_SERVER},
    };
    for (const auto& s : slots) t = replaceText(t, s[0], s[1]);
    return t;
}

inline const Text kVersionHead =
    "<?xml version=\"1.0\" encoding=\"gb2312\"?>\r\n"
    "<VersionUpdateData>\r\n"
    "  <VersionConf>16:16:16:16</VersionConf>\r\n"
    "  <ClientConf>\r\n"
    "      <VersionData>\r\n"
    "           <Version>";

inline const Text kVersionMiddle =
    "</Version>\r\n"
    "           <Uin>0</Uin>\r\n"
    "           <WorldID>0.0.0.0</WorldID>\r\n"
    "       </VersionData>\r\n"
    "\t   <VersionDemoStr>";

inline const Text kLiveDirServers = withServers(
    "<!-- dir server ip ,port   -->\r\n"
    "<Server>\r\n"
    "    <DirServer count=\"5\" SuccessfulServerID=\"1\" SuccessfulPort=\"8080\">\r\n"
    "        <Server1 Catalog=\"\" host=\"{L1}\" />\r\n"
    "\t\t<Server2 Catalog=\"\" host=\"{L2}\" />\r\n"
    "\t\t<Server3 Catalog=\"\" host=\"{L3}\" />\r\n"
    "\t\t<Server4 Catalog=\"\" host=\"{L4}\" />\r\n"
    "\t\t<Server5 Catalog=\"\" host=\"{L5}\" />\r\n"
    "        <portlist count=\"3\" port1=\"5223\" port2=\"10009\" port3=\"8080\">0</portlist>\r\n"
    "    </DirServer>\r\n"
    "\r\n"
    "</Server>\r\n");

inline const Text kLiveVersionServers = withServers(
    "<?xml version=\"1.0\" encoding=\"gb2312\" ?>\r\n"
    "<Server>\r\n"
    "    <versionserver version=\"1\" count=\"5\" SuccessfulServerID=\"1\" SectionTimeOut=\"5000\" "
    "TotalTimeOut=\"600000\" SuccessfulPort=\"10008\">\r\n"
    "       \t<server1 host=\"{L1}\" />\r\n"
    "\t\t<server2 host=\"{L2}\" />\r\n"
    "\t\t<server3 host=\"{L3}\" />\r\n"
    "\t\t<server4 host=\"{L4}\" />\r\n"
    "\t\t<server5 host=\"{L5}\" />\r\n"
    "        <portlist count=\"3\" port1=\"10008\" port2=\"8000\" port3=\"443\"/>\r\n"
    "    </versionserver>\r\n"
    "</Server>\r\n"
    " ");

inline const Text kLiveServerChoice = "[versionserver]\r\nsuccessfulserverid=4\r\nsuccessfulport=10008\r\n";
inline const Text kTestServerChoice = "[versionserver]\r\nsuccessfulserverid=1\r\nsuccessfulport=8000\r\n";

inline const Text kTestVersionServers = withServers(
    "<?xml version=\"1.0\" encoding=\"gb2312\" ?>\r\n"
    "<Server>\r\n"
    "    <versionserver version=\"1\" count=\"1\" SuccessfulServerID=\"1\" SectionTimeOut=\"5000\" "
    "TotalTimeOut=\"600000\" SuccessfulPort=\"10008\">\r\n"
    "        <server1 host=\"{E1}\" />\r\n"
    "        <portlist count=\"3\" port1=\"10008\" port2=\"8000\" port3=\"443\"/>\r\n"
    "    </versionserver>\r\n"
    "</Server>\r\n");

inline const Text kTestDirServers = withServers(
    "<!-- dir server ip ,port   -->\r\n"
    "<Server>\r\n"
    "    <DirServer count=\"1\" SuccessfulServerID=\"1\" SuccessfulPort=\"8080\">\r\n"
    "        <Server1 Catalog=\"\" host=\"{E1}\" />\r\n"
    "        <portlist count=\"3\" port1=\"5223\" port2=\"10009\" port3=\"8080\">0</portlist>\r\n"
    "    </DirServer>\r\n"
    "\r\n"
    "</Server>\r\n");

inline Text versionFile(const Text& version) {
    return replaceText(
        "<?xml version=\"1.0\" encoding=\"gb2312\"?>\r\n"
        "<VersionUpdateData>\r\n"
        "  <VersionConf>16:16:16:16</VersionConf>\r\n"
        "  <ClientConf>\r\n"
        "      <VersionData>\r\n"
        "           <Version>{V}</Version>\r\n"
        "           <Uin>0</Uin>\r\n"
        "           <WorldID>0.0.0.0</WorldID>\r\n"
        "       </VersionData>\r\n"
        "\t   <VersionDemoStr>{V}</VersionDemoStr>\r\n"
        "    <resv1>{V}</resv1>\r\n"
        "  </ClientConf>\r\n"
        "</VersionUpdateData>",
        "{V}", version);
}

}  // namespace vorlane::testing::expected
