"""The launcher files a switch must leave behind, byte for byte, written out here line by
line from the file formats the game's launcher reads. Only the six server addresses come
from the test build's configuration, where distributors set them."""
from harness import configured

VERSION_FILE = "TCLS/mmog_data.xml"
DIR_SERVERS = "TCLS/config/dirserver.xml"
VERSION_SERVERS = "TCLS/config/VersionServerConfig.xml"
SERVER_CHOICE = "TCLS/config/VersionServerConfigdynamic.ini"
SWITCHED_FILES = (VERSION_FILE, DIR_SERVERS, VERSION_SERVERS, SERVER_CHOICE)

CRLF = "\r\n"


def server_addresses():
    """{"LIVE_SERVER_1": ..., ..., "EXPERIENCE_SERVER": ...} as the test build was configured."""
    live = configured("VORLANE_LIVE_SERVERS").split(";")
    found = {f"LIVE_SERVER_{i}": address for i, address in enumerate(live, 1)}
    return found | {"EXPERIENCE_SERVER": configured("VORLANE_EXPERIENCE_SERVER")}


def _lines(*lines):
    return "".join(line + CRLF for line in lines)


def version_file(version):
    """mmog_data.xml for the typed version (the same for both servers)."""
    return ("<?xml version=\"1.0\" encoding=\"gb2312\"?>" + CRLF
            + "<VersionUpdateData>" + CRLF
            + "  <VersionConf>16:16:16:16</VersionConf>" + CRLF
            + "  <ClientConf>" + CRLF
            + "      <VersionData>" + CRLF
            + "           <Version>" + version + "</Version>" + CRLF
            + "           <Uin>0</Uin>" + CRLF
            + "           <WorldID>0.0.0.0</WorldID>" + CRLF
            + "       </VersionData>" + CRLF
            + "\t   <VersionDemoStr>" + version + "</VersionDemoStr>" + CRLF
            + "    <resv1>" + version + "</resv1>" + CRLF
            + "  </ClientConf>" + CRLF
            + "</VersionUpdateData>").encode("ascii")


def live_files(version):
    a = server_addresses()
    live = [a[f"LIVE_SERVER_{i}"] for i in range(1, 6)]
    dir_servers = _lines(
        "<!-- dir server ip ,port   -->",
        "<Server>",
        "    <DirServer count=\"5\" SuccessfulServerID=\"1\" SuccessfulPort=\"8080\">",
        f"        <Server1 Catalog=\"\" host=\"{live[0]}\" />",
        *(f"\t\t<Server{i} Catalog=\"\" host=\"{live[i - 1]}\" />" for i in range(2, 6)),
        "        <portlist count=\"3\" port1=\"5223\" port2=\"10009\" port3=\"8080\">0</portlist>",
        "    </DirServer>",
        "",
        "</Server>")
    version_servers = _lines(
        "<?xml version=\"1.0\" encoding=\"gb2312\" ?>",
        "<Server>",
        "    <versionserver version=\"1\" count=\"5\" SuccessfulServerID=\"1\" SectionTimeOut=\"5000\" "
        "TotalTimeOut=\"600000\" SuccessfulPort=\"10008\">",
        f"       \t<server1 host=\"{live[0]}\" />",
        *(f"\t\t<server{i} host=\"{live[i - 1]}\" />" for i in range(2, 6)),
        "        <portlist count=\"3\" port1=\"10008\" port2=\"8000\" port3=\"443\"/>",
        "    </versionserver>",
        "</Server>") + " "
    choice = _lines("[versionserver]", "successfulserverid=4", "successfulport=10008")
    return {
        VERSION_FILE: version_file(version),
        DIR_SERVERS: dir_servers.encode("ascii"),
        VERSION_SERVERS: version_servers.encode("ascii"),
        SERVER_CHOICE: choice.encode("ascii"),
    }


def experience_files(version):
    host = server_addresses()["EXPERIENCE_SERVER"]
    dir_servers = _lines(
        "<!-- dir server ip ,port   -->",
        "<Server>",
        "    <DirServer count=\"1\" SuccessfulServerID=\"1\" SuccessfulPort=\"8080\">",
        f"        <Server1 Catalog=\"\" host=\"{host}\" />",
        "        <portlist count=\"3\" port1=\"5223\" port2=\"10009\" port3=\"8080\">0</portlist>",
        "    </DirServer>",
        "",
        "</Server>")
    version_servers = _lines(
        "<?xml version=\"1.0\" encoding=\"gb2312\" ?>",
        "<Server>",
        "    <versionserver version=\"1\" count=\"1\" SuccessfulServerID=\"1\" SectionTimeOut=\"5000\" "
        "TotalTimeOut=\"600000\" SuccessfulPort=\"10008\">",
        f"        <server1 host=\"{host}\" />",
        "        <portlist count=\"3\" port1=\"10008\" port2=\"8000\" port3=\"443\"/>",
        "    </versionserver>",
        "</Server>")
    choice = _lines("[versionserver]", "successfulserverid=1", "successfulport=8000")
    return {
        VERSION_FILE: version_file(version),
        DIR_SERVERS: dir_servers.encode("ascii"),
        VERSION_SERVERS: version_servers.encode("ascii"),
        SERVER_CHOICE: choice.encode("ascii"),
    }
