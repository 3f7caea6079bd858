#pragma once
// Where the social network is: the application's id with it and the addresses
// of its dialog, Graph, REST and login services. The build gives defaults
// (none: this copy posts nowhere until it is told where); a "SocialNetwork.json"
// in the data folder overrides them, and the environment overrides both
// (ZARVEL_SOCIAL_APP_ID, ZARVEL_SOCIAL_DIALOG_URL, ZARVEL_SOCIAL_GRAPH_URL,
// ZARVEL_SOCIAL_REST_URL, ZARVEL_SOCIAL_LOGIN_HOST). Read afresh on each call.
#include <string>

struct SocialConfiguration {
  std::string appId;         // decimal digits
  std::string dialogBase;    // ends with "/": "dialog/<action>" follows
  std::string graphBase;     // no trailing "/": "/<path>" follows
  std::string restBase;      // ends with "/": "method/<name>" follows
  std::string loginHost;     // whose cookies a logout removes

  static SocialConfiguration current();
  // An id of digits and three http or https addresses.
  bool isConfigured() const;
  // The Graph service reached without encryption (the profile picture's address).
  std::string plainGraphBase() const;
};
