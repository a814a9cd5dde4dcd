#pragma once

#include <array>
#include <string_view>

namespace tarnwick {

// The lines that carry a secret, as the devices print them (in their configurations and as they
// are typed), each a shape that ShapeMatcher reads:
//   words separated by blanks; a word stands for itself, `a|b` for either;
//   [ ... ]   what may stand there or not (taken where it can be);
//   *         any run of words (as few as will do);
//   <n>       a number; <w> any one word; <type> one of typeWords;
//   {}        the value to mask: a word, or a text in quotation marks;
//   {!}       a value that is neither a number nor one of the shapes' keywords, where a
//             keyword or a number may stand instead (a key chain's `key 1`, `md5 key-chain`).
// A shape without a value begins a block whose lines up to its END line are the secret (a PEM
// private key). A shape is compared from where the command starts: after a timestamp, the indentation and
// a prompt ("R1(config)#", "<HUAWEI>", "[~HUAWEI-aaa]", "user@host# ").
struct SecretShape {
    std::string_view shape;
    std::string_view vendor;
};

// The type numbers and hash names that stand before a value and stay.
inline constexpr std::string_view typeWords = "0|4|5|6|7|8|9|sha512";

inline constexpr std::array<SecretShape, 52> secretShapes = {{
    {"enable secret|password [level <n>] [<type>] {}", "Cisco, Arista"},
    {"username <w> * password|secret [<type>] {}", "Cisco, Arista"},
    {"password [<type>] {}", "Cisco (lines)"},
    {"passwd {}", "Cisco ASA"},
    {"snmp-server community {}", "Cisco"},
    {"snmp-server host <w> [informs|traps] [version 1|2c|3 [auth|noauth|priv]] {}", "Cisco"},
    {"snmp-server user <w> <w> * auth md5|sha {} [priv [des|3des|aes-128|aes] [<n>] {}]", "Cisco"},
    {"snmp-server mib community-map {}", "Cisco"},
    {"tacacs-server|radius-server * key [<type>] {}", "Cisco"},
    {"key <type> {}", "Cisco (tacacs server, radius server)"},
    {"key {!}", "Cisco (tacacs server, radius server), Junos (license)"},
    {"crypto isakmp key [<type>] {} address|hostname", "Cisco"},
    {"pre-shared-key [local|remote] [<type>|hex] {}", "Cisco"},
    {"ip ospf authentication-key [<type>] {}", "Cisco"},
    {"ip ospf message-digest-key <n> md5 [<type>] {}", "Cisco"},
    {"neighbor <w> password [<type>] {}", "Cisco"},
    {"key-string [<type>] {}", "Cisco"},
    {"standby [<n>] authentication md5 key-string [<type>] {}", "Cisco"},
    {"standby [<n>] authentication [text] {!}", "Cisco"},
    {"ntp authentication-key <n> md5 {}", "Cisco"},
    {"isis password {}", "Cisco"},
    {"domain-password {}", "Cisco"},
    {"area-password {}", "Cisco"},
    {"ppp chap|pap * password [<type>] {}", "Cisco"},
    {"ip ftp password [<type>] {}", "Cisco"},
    {"l2tp tunnel password [<type>] {}", "Cisco"},
    {"digest secret [<type>] {}", "Cisco"},
    {"key-hash sha256 {}", "Cisco"},
    {"set session-key inbound|outbound ah|esp <n> [cipher] {} [authenticator {}]", "Cisco"},
    {"wpa-psk ascii|hex [<type>] {}", "Cisco"},
    {"[set *] encrypted-password {}", "Junos"},
    {"[set *] authentication-key {}", "Junos"},
    {"[set *] hello-authentication-key {}", "Junos"},
    {"[set *] secret {}", "Junos"},
    {"[set *] simple-password {}", "Junos"},
    {"[set *] pre-shared-key ascii-text|hexadecimal {}", "Junos"},
    {"[set *] md5 <n> key {}", "Junos"},
    {"[set *] snmp community {}", "Junos"},
    {"community {}", "Junos (braces)"},
    {"[set *] trap-group {}", "Junos"},
    {"set system license keys key {}", "Junos"},
    {"* password cipher|irreversible-cipher|simple {}", "Huawei"},
    {"local-user <w> password [cipher|irreversible-cipher|simple] {}", "Huawei"},
    {"snmp-agent community read|write [cipher] {}", "Huawei"},
    {"pre-shared-key cipher|simple {}", "Huawei"},
    {"set password|passwd|psksecret|secret [ENC] {}", "FortiOS"},
    {"login password [encrypted] {!}", "Yamaha"},
    {"administrator password [encrypted] {!}", "Yamaha"},
    {"login user <w> [encrypted] {}", "Yamaha"},
    {"pp auth myname|username <w> {}", "Yamaha"},
    {"ipsec ike pre-shared-key <n> text {}", "Yamaha"},
    {"-----BEGIN * PRIVATE KEY-----", "any (its body lines, up to its END line)"},
}};

} // namespace tarnwick
