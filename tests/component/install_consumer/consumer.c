/* A plain C host: creates a control through the class factory, calls it by name and reads
   its state. Exits 0 when everything answered as documented. */
#include <stdio.h>
#include <string.h>
#include <tarvine/tarvine_order_pick.h>

static int failed(const char* what) {
  fprintf(stderr, "consumer: %s\n", what);
  return 1;
}

int main(void) {
  tarvine_class_factory* factory = NULL;
  tarvine_control* control = NULL;
  tarvine_variant facility = {TARVINE_VT_TEXT, 0, 0.0, "DEMO"};
  tarvine_error error;
  char* state;
  int ok;

  if (DllGetClassObject(TARVINE_CLASS_ID, &factory) != TARVINE_S_OK) return failed("class");
  if (tarvine_factory_create_instance(factory, &control) != TARVINE_S_OK) return failed("create");
  tarvine_factory_release(factory);
  if (tarvine_invoke_by_name(control, "setfacilityid", &facility, 1, NULL, &error) != 0) {
    return failed(error.description);
  }
  if (tarvine_invoke(control, 7, NULL, 0, NULL, &error) != TARVINE_DISP_E_MEMBERNOTFOUND) {
    return failed("unknown dispatch id");
  }
  state = tarvine_state_json(control);
  ok = state && strstr(state, "\"manifest\"") != NULL;
  tarvine_free_string(state);
  if (!ok) return failed("state");
  if (tarvine_destroy(control) != TARVINE_S_OK) return failed("destroy");
  if (DllCanUnloadNow() != TARVINE_S_OK) return failed("unload");
  puts("consumer: ok");
  return 0;
}
