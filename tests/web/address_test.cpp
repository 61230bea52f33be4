#include <gtest/gtest.h>

#include "web/fetch.h"

namespace zr::web {
namespace {

struct AddressCase {
  const char* address;
  const char* host;
  const char* path;
  int port;
};

TEST(AddressTest, HostPathAndPort) {
  const AddressCase cases[] = {
      {"http://Example.COM:8080/a?b=1", "example.com", "/a?b=1", 8080},
      {"http://example.com", "example.com", "/", 80},
      {"http://example.com/", "example.com", "/", 80},
      {"http://127.0.0.1:8080/kaijiang/kaijiang?lotId=255401&span=2014-03-13_2014-03-13", "127.0.0.1",
       "/kaijiang/kaijiang?lotId=255401&span=2014-03-13_2014-03-13", 8080},
      {"http://host:abc/x", "host", "/x", 0},  // a port that is no number
      {"http://host:/x", "host", "/x", 0},
      {"https://Secure.example:444/p", "secure.example", "/p", 80},  // a secure request always uses 443
      // The host is searched ignoring case, so a path that repeats it is kept whole.
      {"http://a.b/A.B/c", "a.b", "/A.B/c", 80},
      // A host that also occurs inside the scheme.
      {"http://h/missing", "h", "/missing", 80},
      {"http://tp:81/x/y", "tp", "/x/y", 81},
  };
  for (const AddressCase& c : cases) {
    SCOPED_TRACE(c.address);
    EXPECT_EQ(hostOf(c.address), c.host);
    EXPECT_EQ(pathOf(c.address), c.path);
    EXPECT_EQ(portOf(c.address), c.port);
  }
}

}  // namespace
}  // namespace zr::web
