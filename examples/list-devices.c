/* Lists the devices that answer a search on every local network: address, MAC, protocol, name. */
#include <stdio.h>
#include <vanmoor.h>

int main(void) {
    if (!init()) {
        return 1;
    }
    setIPSearch(0, "");              /* search on every local interface */
    const bool found = search(1500); /* broadcast, then collect replies for 1.5 s */
    for (int i = 0; found && i < getCounts(); ++i) {
        char ip[16], mac[24], name[24] = "", protocol = 0;
        if (getIPString_DetVer(i, ip, sizeof ip, &protocol) && getMacString(i, mac, sizeof mac)) {
            getName(i, name, sizeof name - 1);
            printf("%-15s %-17s %-5s %s\n", ip, mac, protocol ? "32970" : "4022", name);
        }
    }
    deinit();
    return found ? 0 : 1;
}
