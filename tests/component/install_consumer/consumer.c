/* A plain C host of the installed library: creates a control through the class factory and
   calls it by name (the calls themselves: CApiTest). Exits 0 when everything answered. */
#include <stdio.h>
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

  if (DllGetClassObject(TARVINE_CLASS_ID, &factory) != TARVINE_S_OK) return failed("class");
  if (tarvine_factory_create_instance(factory, &control) != TARVINE_S_OK) return failed("create");
  tarvine_factory_release(factory);
  if (tarvine_invoke_by_name(control, "setfacilityid", &facility, 1, NULL, &error) != 0) {
    return failed(error.description);
  }
  if (tarvine_destroy(control) != TARVINE_S_OK) return failed("destroy");
  if (DllCanUnloadNow() != TARVINE_S_OK) return failed("unload");
  puts("consumer: ok");
  return 0;
}
