// The web addresses and telephone number the program's commands open or quote.
#pragma once

namespace qv {

inline constexpr const char* kProductSite = "https://www.quorvantis.example/";
// Forum listing pages: the group and the user's account tag fill the query.
inline constexpr const char* kForumPage = "https://forum.quorvantis.example/list.cgi?cmd=list&group=%s&utag=%s";
inline constexpr const char* kFeedStatusPage = "https://status.quorvantis.example/feed.html";
inline constexpr const char* kFeedNewsPage = "https://www.quorvantis.example/intraday/news.html";
inline constexpr const char* kAgreementForm = "https://www.quorvantis.example/cgi-bin/nasdaq_agreement.cgi?accnum=%s";
// The company-information page: the five-digit company code fills "%05i".
inline constexpr const char* kCompanyPagePattern = "https://companies.quorvantis.example/profile?code=%05i";
inline constexpr const char* kSupportTelephone = "01632 960 123";
inline constexpr const char* kSupportEmail = "support@quorvantis.example";
// The service's own mail domain: the "From" line of a message in the outgoing mailbox names the user
// at it.
inline constexpr const char* kMailDomain = "quorvantis.example";
// The end-of-day update's endpoints that the Communications page's Default buttons give: addresses for
// the internet method, dial-in numbers (in the support number's range) for the modem methods. Nothing
// dials or connects to them here.
inline constexpr const char* kUpdateAddress = "update.quorvantis.example";
inline constexpr const char* kUpdateAddressAlternative = "update2.quorvantis.example";
inline constexpr const char* kUpdatePhone = "01632 960 124";
inline constexpr const char* kUpdatePhoneAlternative = "01632 960 125";

} // namespace qv
