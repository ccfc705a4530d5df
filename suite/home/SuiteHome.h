// The suite home: everything the plug-in, the client shell and the
// application server expect to find on one machine, made in one folder.
//
//   <home>/registry.ini            the registry file (ZB_REGISTRY names it)
//   <home>/env.sh                  sets ZB_REGISTRY for a shell
//   <home>/client/OrkelC.ini       client profile: server 127.0.0.1, code pages
//   <home>/client/C_PKG/           client package folder
//   <home>/client/MultiLanguage/CHS|CHT|ENG/   language folders
//   <home>/client/Log/, <home>/server/Log/
//   <home>/server/OrkelS.ini       server profile: the database, package folder
//   <home>/server/S_PKG/           server package folder (job libraries)
//   <home>/server/suite.db         the suite database (SQLite) with demo data
#pragma once

#include <string>

namespace zb::suite {

// `libraryFolder`: where ReportCounterS.so and the other suite libraries
// are, for the ProgID registrations. Throws zb::Exception (with a reason a
// person can act on) when the folder holds a suite database already or a
// part cannot be written.
void MakeSuiteHome(const std::string& home, const std::string& libraryFolder);

// The message codes the plug-in uses, with their texts ("%s" for arguments).
struct MessageText {
    const char* kind;
    const char* number;
    const char* text;
};
extern const MessageText kMessageTexts[];
extern const int kMessageTextCount;

}  // namespace zb::suite
