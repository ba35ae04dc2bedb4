// Xi18nClients.cpp: the registry of connected clients. A connection id
// names one client at a time; ids come back into use only through the free
// list, so a late message for a disconnected client finds no record until
// a new client takes the same id.
#include <cstdlib>
#include <initializer_list>
#include <new>

#include "xim/internal/Xi18nCore.h"

namespace {

void FreePending(Xi18nClient* client) {
  XIMPending* q = client->pending;
  while (q) {
    XIMPending* next = q->next;
    std::free(q->p);
    delete q;
    q = next;
  }
  client->pending = nullptr;
}

}  // namespace

Xi18nClient* _Xi18nNewClient(Xi18nCore* core) {
  Xi18nAddressRec& a = core->address;
  Xi18nClient* client;
  int id;
  if (a.free_clients) {
    client = a.free_clients;
    a.free_clients = client->next;
    id = client->connect_id;
  } else {
    if (a.last_connect_id >= 0xffff) return nullptr;  // every id is in use
    client = new (std::nothrow) Xi18nClient;
    if (!client) return nullptr;
    id = ++a.last_connect_id;
  }
  *client = Xi18nClient{};
  client->connect_id = id;
  client->byte_order = '?';
  client->next = a.clients;
  a.clients = client;
  return client;
}

Xi18nClient* _Xi18nFindClient(Xi18nCore* core, uint16_t connect_id) {
  for (Xi18nClient* c = core->address.clients; c; c = c->next) {
    if (c->connect_id == connect_id) return c;
  }
  return nullptr;
}

void _Xi18nDeleteClient(Xi18nCore* core, uint16_t connect_id) {
  Xi18nAddressRec& a = core->address;
  for (Xi18nClient** link = &a.clients; *link; link = &(*link)->next) {
    Xi18nClient* c = *link;
    if (c->connect_id != connect_id) continue;
    *link = c->next;
    // Unlike the queue of a live client, these messages can never be
    // answered; keeping them would only leak them.
    FreePending(c);
    c->next = a.free_clients;
    a.free_clients = c;
    return;
  }
}

int _Xi18nNeedSwap(Xi18nCore* core, uint16_t connect_id) {
  Xi18nClient* c = _Xi18nFindClient(core, connect_id);
  if (!c || c->byte_order == '?') return 0;
  return c->byte_order != core->address.im_byteOrder;
}

void _Xi18nFreeAllClients(Xi18nCore* core) {
  for (Xi18nClient** list : {&core->address.clients, &core->address.free_clients}) {
    Xi18nClient* c = *list;
    while (c) {
      Xi18nClient* next = c->next;
      FreePending(c);
      delete c;
      c = next;
    }
    *list = nullptr;
  }
}
