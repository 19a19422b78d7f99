/*
 * Vanmoor: discovery and configuration of network cameras and similar appliances by UDP
 * broadcast, with a plain C interface.
 *
 * The library keeps one process-wide manager. init() creates it, deinit() destroys it, and every
 * other function works on it; called without a manager each returns its failure value.
 *
 * A device is named by its index, 0 to getCounts() - 1, valid until the next search(). IPv4
 * addresses are four bytes with the first dotted number first. A MAC address is six bytes in
 * display order. Device texts are 8-bit.
 *
 * Calling order: init(); setIPSearch() once before the first search(); then any number of
 * search() calls, each followed by getCounts() and queries by index, and settings commands;
 * finally deinit(). init, deinit, search and setIPSearch must not overlap other calls.
 */
#ifndef VANMOOR_H
#define VANMOOR_H

#include <stddef.h>
#include <stdint.h>
#ifndef __cplusplus
#include <stdbool.h>
#endif

#if defined(_WIN32)
#if defined(VANMOOR_BUILDING_LIBRARY)
#define VANMOOR_API __declspec(dllexport)
#else
#define VANMOOR_API __declspec(dllimport)
#endif
#else
#define VANMOOR_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ---------------------------------------------------------------------------------------------
 * Settings records, passed by value.
 * ------------------------------------------------------------------------------------------- */

/* New settings for a device that answered on port 4022 (see set()). 52 bytes. */
typedef struct NetSettings {
    unsigned char IP[4];      /* new address */
    unsigned char netmask[4]; /* new netmask */
    unsigned char gateway[4]; /* new gateway; 0.0.0.0 means none */
    unsigned char DNS1[4];    /* new first DNS server */
    unsigned char DNS2[4];    /* new second DNS server */
    char name[18];            /* new name, NUL-padded; all 18 bytes are used as they stand */
    unsigned char MAC[6];     /* MAC address of the target device */
    int32_t port;             /* new web port, 0 to 65536 */
    unsigned char bDHCP;      /* 1: the device takes its address by DHCP; 0: static */
} NetSettings;

/* New settings with credentials for a device that answered on port 32970 (see set_MD5()).
 * 132 bytes. */
typedef struct AuthNetSettings {
    char user[32];            /* user name, NUL-terminated within the field */
    char password[32];        /* password, NUL-terminated within the field */
    unsigned char IP[4];      /* new address */
    unsigned char netmask[4]; /* new netmask */
    unsigned char gateway[4]; /* new gateway; 0.0.0.0 means none */
    unsigned char DNS1[4];    /* new first DNS server */
    unsigned char DNS2[4];    /* new second DNS server */
    char name[32];            /* new name, NUL-padded, sent as all 32 bytes */
    unsigned char MAC[6];     /* MAC address of the target device */
    int32_t port;             /* new web port, 0 to 65536 */
    unsigned char DHCP;       /* 1: DHCP on; 0: static address */
} AuthNetSettings;

#ifdef __cplusplus
#define VANMOOR_STATIC_ASSERT(condition, message) static_assert(condition, message)
#else
#define VANMOOR_STATIC_ASSERT(condition, message) _Static_assert(condition, message)
#endif

/* The records cross the library boundary by value: their layout is part of the interface. */
VANMOOR_STATIC_ASSERT(sizeof(NetSettings) == 52, "NetSettings must be 52 bytes");
VANMOOR_STATIC_ASSERT(offsetof(NetSettings, name) == 20, "NetSettings.name at 20");
VANMOOR_STATIC_ASSERT(offsetof(NetSettings, MAC) == 38, "NetSettings.MAC at 38");
VANMOOR_STATIC_ASSERT(offsetof(NetSettings, port) == 44, "NetSettings.port at 44");
VANMOOR_STATIC_ASSERT(offsetof(NetSettings, bDHCP) == 48, "NetSettings.bDHCP at 48");
VANMOOR_STATIC_ASSERT(sizeof(AuthNetSettings) == 132, "AuthNetSettings must be 132 bytes");
VANMOOR_STATIC_ASSERT(offsetof(AuthNetSettings, IP) == 64, "AuthNetSettings.IP at 64");
VANMOOR_STATIC_ASSERT(offsetof(AuthNetSettings, name) == 84, "AuthNetSettings.name at 84");
VANMOOR_STATIC_ASSERT(offsetof(AuthNetSettings, MAC) == 116, "AuthNetSettings.MAC at 116");
VANMOOR_STATIC_ASSERT(offsetof(AuthNetSettings, port) == 124, "AuthNetSettings.port at 124");
VANMOOR_STATIC_ASSERT(offsetof(AuthNetSettings, DHCP) == 128, "AuthNetSettings.DHCP at 128");

/* ---------------------------------------------------------------------------------------------
 * Lifecycle.
 * ------------------------------------------------------------------------------------------- */

/* Creates the manager (destroying an existing one first) and reads the log configuration.
 * Returns the manager as an opaque pointer, null when it could not be created. */
VANMOOR_API void* init(void);

/* Destroys the manager: stops receiving, closes every endpoint, frees every record. */
VANMOOR_API void deinit(void);

/* ---------------------------------------------------------------------------------------------
 * Search.
 * ------------------------------------------------------------------------------------------- */

/* Opens two endpoints (ports 32970 and 4022) on every local address, broadcasts both discovery
 * requests, waits `milliseconds` and replaces the device table with the replies collected.
 * Returns true when every request was sent; on false the table is left unchanged. One table
 * holds at most 262,144 devices: replies of further devices are dropped, and the log says how
 * many were. */
VANMOOR_API bool search(int milliseconds);

/* Number of entries of the device table, entries that no query finds included. 0 on failure. */
VANMOOR_API int getCounts(void);

/* ---------------------------------------------------------------------------------------------
 * Device queries by index. Text queries write a terminated text of at most outSize bytes
 * (cut when it does not fit); byte queries copy min(len, field width) bytes and add no
 * terminator. A miss (no such device, an emptied entry, a device hidden by the interface
 * filter, a null output, outSize < 1, len < 0) returns false or 0 and writes nothing.
 * ------------------------------------------------------------------------------------------- */

/* MAC as "%d-%d-%d-%d-%d-%d", for example 0-17-34-51-68-85. */
VANMOOR_API bool getMacString(int index, char* out, int outSize);
/* Address with three digits per number, for example 192.168.001.010. */
VANMOOR_API bool getIPString(int index, char* out, int outSize);
/* Address as "%d.%d.%d.%d" and, in *protocolOut, 0 (port 4022) or 1 (port 32970). */
VANMOOR_API bool getIPString_DetVer(int index, char* out, int outSize, char* protocolOut);
/* Address bytes as one number, byte 0 in the lowest 8 bits. */
VANMOOR_API int getIPValue(int index);
/* Web port. */
VANMOOR_API int getPort(int index);
VANMOOR_API bool getGateWayString(int index, char* out, int outSize);
VANMOOR_API int getGateWayValue(int index);
VANMOOR_API bool getNetMaskString(int index, char* out, int outSize);
VANMOOR_API int getNetMaskValue(int index);
/* Name, up to 23 bytes. */
VANMOOR_API bool getName(int index, void* out, int len);
VANMOOR_API bool getDNS1String(int index, char* out, int outSize);
VANMOOR_API int getDNS1Value(int index);
VANMOOR_API bool getDNS2String(int index, char* out, int outSize);
VANMOOR_API int getDNS2Value(int index);
/* 1 when the device takes its address by DHCP, else 0. */
VANMOOR_API int getDHCP(int index);
/* Type code of a port-4022 device; 0 for port-32970 devices. */
VANMOOR_API int getType(int index);
/* Device code: eight hexadecimal digits and a zero, up to 10 bytes. */
VANMOOR_API bool getDevice(int index, void* out, int len);
/* Version, up to 17 bytes. */
VANMOOR_API bool getVersion(int index, void* out, int len);
/* Brand, up to 33 bytes. */
VANMOOR_API bool getBrand(int index, void* out, int len);
/* Model name, up to 33 bytes. */
VANMOOR_API bool getModeName(int index, void* out, int len);
/* Camera name, up to 65 bytes. */
VANMOOR_API bool getCameraName1(int index, void* out, int len);

/* ---------------------------------------------------------------------------------------------
 * Settings commands. Each is a single broadcast; whether the device took the settings shows in
 * its answer to a later search.
 * ------------------------------------------------------------------------------------------- */

/* Sends the port-4022 settings command to the device with settings.MAC and updates its record.
 * Returns 1 when the command was sent, 0 when a value was refused, the device is unknown or the
 * send failed (the log tells which). */
VANMOOR_API int set(NetSettings settings);

/* Sends the port-32970 settings command with an MD5 digest of the credentials to the device
 * with settings.MAC. Refuses devices found on port 4022. Returns 1 when the command was sent. */
VANMOOR_API int set_MD5(AuthNetSettings settings);

/* As set_MD5, but passes over port-4022 records with the same MAC and goes on with the next. */
VANMOOR_API bool set_MD5_Muti(AuthNetSettings settings);

/* ---------------------------------------------------------------------------------------------
 * Local addresses and options.
 * ------------------------------------------------------------------------------------------- */

/* Rebuilds the list of local IPv4 addresses. With enable, the queries then see only devices
 * found through the local address `address` (exact text); without, every device. Returns false
 * when `address` is not a local address (the filter is then off). `address` may be a text that
 * getIPinfo() returned before this call.
 *
 * Which local address a device is found through: the one its reply was sent to. A broadcast
 * reply arriving on an interface with several listed addresses (a second address, or a labelled
 * one such as eth0:1) counts for exactly one of them: the first in list order whose subnet holds
 * the address the device reports, else the interface's first listed address. */
VANMOOR_API bool setIPSearch(int enable, const char* address);

/* Number of local addresses listed by the last setIPSearch(). */
VANMOOR_API int getIPcount(void);

/* Local address i as dotted text, owned by the library until the next setIPSearch() or
 * deinit(); null when i is out of range. */
VANMOOR_API const char* getIPinfo(int i);

/* With enable, a search drops replies older than `seconds` when it builds the device table. */
VANMOOR_API void setSaveOption(int enable, int seconds);

#ifdef __cplusplus
}
#endif

#endif /* VANMOOR_H */
