/*
 * TarvineOrderPick as an in-process component: the C interface for hosts in any language.
 *
 * A host finds the control by its class identifier in the per-user registry, gets the class
 * object from DllGetClassObject and creates controls with it (or calls tarvine_create), then
 * calls the control's methods late bound, by dispatch id or by name, and drives its user
 * actions with script lines. No C++ type crosses this interface; every text is UTF-8 and
 * NUL-terminated. A control is used from one thread at a time.
 *
 * Result codes are 32-bit signed integers numbered as the component platform numbers them:
 * 0 is success, 1 is "false", negative values are failures.
 *
 * Handles (tarvine_control, tarvine_class_factory) are checked on every call: a handle that was
 * destroyed or released, or that this library never gave out, gets TARVINE_E_HANDLE (a call
 * without a result code does nothing) instead of being used. Handles are never given out twice,
 * so a stale handle is caught however many objects were created after it. Not caught: two
 * threads using one control at the same time, or one thread destroying a control while another
 * calls it.
 */
#ifndef TARVINE_ORDER_PICK_H
#define TARVINE_ORDER_PICK_H

#include <stddef.h>
#include <stdint.h>

#if defined(__GNUC__)
#define TARVINE_API __attribute__((visibility("default")))
#else
#define TARVINE_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Identifiers of the type description, as the registry writes them. */
#define TARVINE_LIBRARY_ID "{28B2433C-EBC9-4B44-941A-F4B0193B378F}"
#define TARVINE_CLASS_ID "{EA12B6FE-8FB7-4A59-9821-C8431AB93931}"
#define TARVINE_DISPATCH_INTERFACE_ID "{4EF0B256-157F-4924-BA21-B73B4D134DEA}"
#define TARVINE_EVENT_INTERFACE_ID "{4BC9B089-BD3A-4D75-8C30-BA857FA3D7D5}"
#define TARVINE_RECORD_ID "{F75CCF0E-264A-41E4-BEC7-DEC39DB600B3}"

/* Dispatch ids of the control's methods. */
#define TARVINE_DISPID_REFRESH_DATA 0x60030038           /* RefreshData() */
#define TARVINE_DISPID_PUT_SERVER_NAME 0x60030040        /* PutServerName(text) */
#define TARVINE_DISPID_PUT_TARVINE_ID 0x60030050         /* PutTarvineID(int32) */
#define TARVINE_DISPID_RETURN_WEBSERVICE_XML 0x60030059  /* (text x4 [, bool]) -> text */
#define TARVINE_DISPID_SET_FACILITY_ID 0x6003005a        /* SetFacilityID(text) */
#define TARVINE_DISPID_SET_PERSON_INFORMATION 0x6003005b /* SetPersonInformation(text, text) */

/* Result codes. */
#define TARVINE_S_OK 0
#define TARVINE_S_FALSE 1
/* The call ran as it always does, but showed error reports (the control's "An application error
   has occured" boxes, for instance when the route service cannot be reached): a success code,
   so that the control's behaviour is unchanged, yet distinct from TARVINE_S_OK. The error
   record and tarvine_error_reports() tell the number and description of the first report. */
#define TARVINE_S_ERRORS_REPORTED ((int32_t)0x00040200)
/* "Unknown name": no method has the name given. */
#define TARVINE_DISP_E_UNKNOWNNAME ((int32_t)0x80020006u)
/* "Member not found": no method has the dispatch id given. */
#define TARVINE_DISP_E_MEMBERNOTFOUND ((int32_t)0x80020003u)
/* "Type mismatch": an argument cannot be read as its parameter's type (arg_index says which). */
#define TARVINE_DISP_E_TYPEMISMATCH ((int32_t)0x80020005u)
/* "Overflow": an argument lies outside its parameter's range (arg_index says which). */
#define TARVINE_DISP_E_OVERFLOW ((int32_t)0x8002000Au)
/* "Invalid number of parameters": too many arguments, or too few for the required ones. */
#define TARVINE_DISP_E_BADPARAMCOUNT ((int32_t)0x8002000Eu)
/* "Parameter not optional": TARVINE_VT_MISSING given for a required parameter. */
#define TARVINE_DISP_E_PARAMNOTOPTIONAL ((int32_t)0x8002000Fu)
/* "Bad variable type": an argument with an unknown type code or an I2 outside 16 bits. */
#define TARVINE_DISP_E_BADVARTYPE ((int32_t)0x80020008u)
/* "Exception occurred": the method raised a run-time error; number, description and source
   of the error record carry it (for example 13 "Type mismatch" from SetPersonInformation). */
#define TARVINE_DISP_E_EXCEPTION ((int32_t)0x80020009u)
/* The class identifier is not the control's. */
#define TARVINE_CLASS_E_CLASSNOTAVAILABLE ((int32_t)0x80040111u)
/* The registry file cannot be read as a registry, or cannot be written. */
#define TARVINE_SELFREG_E_CLASS ((int32_t)0x80040201u)
/* A required pointer is NULL. */
#define TARVINE_E_POINTER ((int32_t)0x80004003u)
/* Out of memory. */
#define TARVINE_E_OUTOFMEMORY ((int32_t)0x8007000Eu)
/* Refused in this state: a script run or destroy from inside a call of the same control. */
#define TARVINE_E_UNEXPECTED ((int32_t)0x8000FFFFu)
/* The control or class object handle is not live: destroyed, released, or never given out. */
#define TARVINE_E_HANDLE ((int32_t)0x80070006u)

/* Variant type codes. */
#define TARVINE_VT_EMPTY 0    /* no value: reads as "", 0 or False */
#define TARVINE_VT_I2 2       /* 16-bit integer in `integer` */
#define TARVINE_VT_I4 3       /* 32-bit integer in `integer` */
#define TARVINE_VT_R8 5       /* double in `number` */
#define TARVINE_VT_TEXT 8     /* UTF-8 text in `text` (NULL reads as "") */
#define TARVINE_VT_MISSING 10 /* an omitted optional argument */
#define TARVINE_VT_BOOL 11 /* boolean in `integer`: 0 False, anything else True (-1 in results) */

/*
 * One argument or result. Arguments are coerced to their parameter's type as the component
 * platform does: a text parameter takes a number (its general text, "1.5", "1E+20"), a boolean
 * ("True"/"False") or empty (""); a 32-bit parameter takes a text read as a number and rounded
 * to nearest with halves to even ("12.5" is 12), a double rounded the same way, a boolean (True
 * is -1) or empty (0); a boolean parameter takes "True"/"False" in any letter case, a number
 * (0 is False) or empty (False).
 */
typedef struct tarvine_variant {
  int32_t type;
  int32_t integer;
  double number;
  const char* text;
} tarvine_variant;

/* Details of a failed call. description and source are NUL-terminated, cut to fit. */
typedef struct tarvine_error {
  int32_t code;      /* the call's result code */
  int32_t number;    /* the run-time error number for TARVINE_DISP_E_EXCEPTION, else 0 */
  int32_t arg_index; /* the argument at fault (0 = first, in call order), or -1 */
  char source[64];
  char description[512];
} tarvine_error;

typedef struct tarvine_control tarvine_control;
typedef struct tarvine_class_factory tarvine_class_factory;
/* A place a callback puts a text into, with tarvine_text_out_set(). */
typedef struct tarvine_text_out tarvine_text_out;

/* ---- In-process server entry points ---- */

/* Records the class (identifier, name, program id, this library's path, type library and
   version) and the type library in the per-user registry file: TARVINE_REGISTRY when set, else
   $XDG_DATA_HOME/tarvine/registry.json or ~/.local/share/tarvine/registry.json. Other entries
   stay; programs registering at once take turns through registry.json.lock beside it. A
   symbolic link is followed: the file it leads to is replaced and the link stays. A file that
   is not a regular file, is over 1 MiB or nested over 64 levels is refused. TARVINE_S_OK,
   or TARVINE_SELFREG_E_CLASS (see tarvine_last_error()). */
TARVINE_API int32_t DllRegisterServer(void);
/* Removes exactly what DllRegisterServer() wrote; a file left empty is deleted. TARVINE_S_OK,
   or TARVINE_SELFREG_E_CLASS. */
TARVINE_API int32_t DllUnregisterServer(void);
/* Gives the class object of the class identifier (with or without braces, any letter case) in
   *factory; release it with tarvine_factory_release(). TARVINE_S_OK,
   TARVINE_CLASS_E_CLASSNOTAVAILABLE or TARVINE_E_POINTER. */
TARVINE_API int32_t DllGetClassObject(const char* class_id, tarvine_class_factory** factory);
/* TARVINE_S_OK when no control, class object or server lock is alive (the library may be
   unloaded), else TARVINE_S_FALSE. */
TARVINE_API int32_t DllCanUnloadNow(void);

/* Creates a control in *control. TARVINE_S_OK, TARVINE_E_POINTER or TARVINE_E_OUTOFMEMORY. */
TARVINE_API int32_t tarvine_factory_create_instance(tarvine_class_factory* factory,
                                                    tarvine_control** control);
/* lock non-zero keeps the library loaded (DllCanUnloadNow gives TARVINE_S_FALSE) until a call
   with lock zero. TARVINE_S_OK, or TARVINE_E_UNEXPECTED for an unlock without a lock. */
TARVINE_API int32_t tarvine_factory_lock_server(tarvine_class_factory* factory, int32_t lock);
/* Releases a class object; NULL and a handle that is not live are ignored. */
TARVINE_API void tarvine_factory_release(tarvine_class_factory* factory);

/* The description of the last failure on this thread of a call that returns only a code
   (registration, creation); "" when there was none. Valid until the next call. */
TARVINE_API const char* tarvine_last_error(void);

/* ---- Controls ---- */

/* Creates a control without a class object; as tarvine_factory_create_instance(). */
TARVINE_API int32_t tarvine_create(tarvine_control** control);
/* Destroys a control; NULL is ignored. TARVINE_S_OK, TARVINE_E_HANDLE for a control destroyed
   already, or TARVINE_E_UNEXPECTED (nothing done) when called from inside a callback of a call
   on the same control. */
TARVINE_API int32_t tarvine_destroy(tarvine_control* control);

/* Shows a message box; returns the button pressed (1 OK, 2 Cancel, 6 Yes, 7 No). buttons is
   the platform's value: the button set (0 OK, 3 Yes No Cancel, 4 Yes No) plus the icon (48
   warning, 64 information) plus the default button, the one Enter presses (0 the first, 256 the
   second, 512 the third). The control asks:
   - 64: OK with the information icon (successes, refusals, error reports);
   - 308 = 4 + 48 + 256: Yes and No, No the default: the two questions that guard a save,
     "<what colleagues changed since the load was opened> Save your changes over theirs? Choose
     No to keep your changes unsaved and look first." (title "TarvineOrderPick") and "The load
     is ... over the trailer's .... Save anyway?" (title "Trailer capacity"). Only Yes (6)
     saves. Any other reply (No, or 1 from a host that shows OK only) sends nothing, keeps the
     picks and is reported once as an error, number 32755, "The changes were not saved: the save
     was not confirmed ("Save your changes over theirs?" was answered OK)" (the trailer's names
     its whole question), which tarvine_error_reports() gives;
   - 563 = 3 + 48 + 512: Yes, No and Cancel, Cancel the default: the question before unsaved
     picks or freight overrides would be lost (title "Unsaved changes", "The changes to P.O.
     12-34567 are not saved. Save them before choosing another center?"): Yes (6) saves first,
     No (7) discards them, any other reply (Cancel, or 1 from a host that shows OK only) keeps
     everything.
   title is NULL for the application's name. */
typedef int32_t (*tarvine_message_box_fn)(void* user, const char* prompt, int32_t buttons,
                                          const char* title);
/* Shows an input box; returns 1 with the answer put into `answer` with tarvine_text_out_set()
   (nothing put is ""), or 0 when cancelled. */
typedef int32_t (*tarvine_input_box_fn)(void* user, const char* prompt, const char* title,
                                        const char* default_text, tarvine_text_out* answer);
/* While the astray form (caption "Astray P.O's") is shown: returns 1 with the next command line
   for it put into `line` (type NAME TEXT, add, state, answer TEXT, answer-cancel, close), or 0
   to close the form. The form is shown by a script's "astray" line. */
typedef int32_t (*tarvine_form_fn)(void* user, const char* caption, tarvine_text_out* line);
/* Writes one event log entry. */
typedef void (*tarvine_event_log_fn)(void* user, const char* entry);

/* The host's callbacks; each NULL one keeps its default: message boxes are answered OK (one
   with more buttons takes the reply a script queued, "reply yes", or else No or Cancel),
   input boxes take the answers a script queued ("answer TEXT") or are cancelled, the astray
   form runs on the script's following lines, and the event log is syslog (or the file
   TARVINE_EVENT_LOG names). Dialogs answered by a callback are not reported as JSON lines;
   log entries are, during a script run. */
typedef struct tarvine_callbacks {
  void* user; /* handed to every callback */
  tarvine_message_box_fn message_box;
  tarvine_input_box_fn input_box;
  tarvine_form_fn form;
  tarvine_event_log_fn event_log;
} tarvine_callbacks;

/* Puts a text (copied; NULL is "") into the place a callback was given. */
TARVINE_API void tarvine_text_out_set(tarvine_text_out* out, const char* text);

/* Replaces all callbacks of the control (copied); NULL restores every default. TARVINE_S_OK or
   TARVINE_E_POINTER. */
TARVINE_API int32_t tarvine_set_callbacks(tarvine_control* control,
                                          const tarvine_callbacks* callbacks);

/* ---- Late-bound calls ---- */

/* The dispatch id of a method name, matched in any letter case. TARVINE_S_OK,
   TARVINE_DISP_E_UNKNOWNNAME or TARVINE_E_POINTER. */
TARVINE_API int32_t tarvine_get_dispid(const char* name, int32_t* dispid);

/* Calls a method by dispatch id with `count` arguments in call order (the optional
   UpdateAddDeleteOnly may be left off or passed as TARVINE_VT_MISSING). result (may be NULL)
   receives the method's result: TARVINE_VT_TEXT for ReturnWebserviceXML, whose text is the
   caller's to free with tarvine_variant_clear(); TARVINE_VT_EMPTY otherwise. error (may be
   NULL) receives the details of a failure, or of the first error report. Returns TARVINE_S_OK,
   TARVINE_S_ERRORS_REPORTED or a failure code above; a failure before the method runs leaves
   the control untouched. */
TARVINE_API int32_t tarvine_invoke(tarvine_control* control, int32_t dispid,
                                   const tarvine_variant* args, int32_t count,
                                   tarvine_variant* result, tarvine_error* error);
/* As tarvine_invoke(), naming the method (any letter case). */
TARVINE_API int32_t tarvine_invoke_by_name(tarvine_control* control, const char* name,
                                           const tarvine_variant* args, int32_t count,
                                           tarvine_variant* result, tarvine_error* error);
/* Frees a result's text and makes it TARVINE_VT_EMPTY; NULL is ignored. */
TARVINE_API void tarvine_variant_clear(tarvine_variant* value);

/* The error reports shown by the control's last call or script run: *count (may be NULL)
   receives how many, first (may be NULL) the first one (code TARVINE_S_ERRORS_REPORTED, its
   run-time error number, source and description; all zero and empty when there was none).
   TARVINE_S_OK when there were reports, TARVINE_S_FALSE when none, or TARVINE_E_POINTER. */
TARVINE_API int32_t tarvine_error_reports(tarvine_control* control, int32_t* count,
                                          tarvine_error* first);

/* Picks and freight overrides not saved yet: *rows (may be NULL) receives the number of list
   rows carrying a change, *orders (may be NULL) the distinct P.O. ids among them as a JSON array
   of texts in list order, to be freed with tarvine_free_string(). TARVINE_S_OK when there are
   unsaved changes, TARVINE_S_FALSE when there are none, TARVINE_E_POINTER or
   TARVINE_E_OUTOFMEMORY. */
TARVINE_API int32_t tarvine_unsaved_changes(tarvine_control* control, int32_t* rows, char** orders);

/* ---- Script host and state ---- */

/* Receives one JSON line (without the line break). */
typedef void (*tarvine_line_fn)(void* user, const char* json_line);

/* Runs the script lines of `text` (separated by LF or CR LF) on the control, the user actions
   and host calls of the command line script host, sending every JSON line it reports to
   on_line (may be NULL). Returns 0 when every line ran, 1 when a line ran but failed at run
   time (a load sheet not written, no fill proposed or applied: its line has an "error", and
   the rest still runs), 2
   after a line that could not be run (reported as an "error" line, and the rest is skipped), or
   TARVINE_E_POINTER, or TARVINE_E_UNEXPECTED when a script already runs on this control. */
TARVINE_API int32_t tarvine_run_script(tarvine_control* control, const char* text,
                                       tarvine_line_fn on_line, void* user);

/* The control's state object (what a script's "state" line reports) as JSON text, to be freed
   with tarvine_free_string(); NULL for a control that is NULL or not live, or when out of
   memory. */
TARVINE_API char* tarvine_state_json(tarvine_control* control);

/* The type description (library, class, interfaces with their methods and parameters, and the
   record with its fields) as JSON text, to be freed with tarvine_free_string(). */
TARVINE_API char* tarvine_type_description_json(void);

/* Frees a text this library returned; NULL is ignored. */
TARVINE_API void tarvine_free_string(char* text);

/* ---- The dispatcher's tools ---- */

/* An argument's value cannot be used (a limit that is not above 0). */
#define TARVINE_E_INVALIDARG ((int32_t)0x80070057u)

/* What a scan did (tarvine_scan_order). */
#define TARVINE_SCAN_NOT_FOUND 0 /* no row has the id; nothing changed */
#define TARVINE_SCAN_PICKED 1    /* the whole P.O. was checked onto the load */
#define TARVINE_SCAN_ALREADY 2   /* every row of it was checked already; left as it was */
#define TARVINE_SCAN_REFUSED 3   /* the list refused the click or the control reported an error */

/* Finds P.O. `id` (blanks around it ignored) and selects its first row as a user's click does.
   *row (may be NULL) gets that row's list position from 1, in the list's current order, or 0.
   TARVINE_S_OK when found, TARVINE_S_FALSE when not listed, or TARVINE_E_POINTER. */
TARVINE_API int32_t tarvine_find_order(tarvine_control* control, const char* id, int32_t* row);

/* As a barcode scan: finds and selects P.O. `id`, then checks the whole P.O. onto the load
   through a user's click on its check box (same totals, marks and messages); a P.O. already on
   the load is left as it is. A P.O. of the load under another center than the one chosen first
   switches the list to all centers as the user's choice does (asking Save / Discard / Cancel
   about unsaved work through the message box callback; TARVINE_SCAN_REFUSED when the center is
   kept). *row as tarvine_find_order(); *outcome (may be NULL) gets a
   TARVINE_SCAN_ value. TARVINE_S_OK, TARVINE_S_FALSE when not listed, or TARVINE_E_POINTER. */
TARVINE_API int32_t tarvine_scan_order(tarvine_control* control, const char* id, int32_t* row,
                                       int32_t* outcome);

/* Sets the trailer's limits: weight in pounds and cube in cubic feet (both above 0), cartons 1
   or more, or 0 for no carton limit. Over a limit, the Save button first asks "The load is ...
   over the trailer's .... Save anyway?" through the message box callback (buttons value 308,
   No the default; a reply other than Yes, 6, stops the save and is reported). The figures are
   the weight, cube and cartons of each segment on the load, every center, unsaved picks
   included; a figure over a limit by 1e-6 or less is within it. The state JSON gains
   "capacity". TARVINE_S_OK,
   TARVINE_E_INVALIDARG or TARVINE_E_POINTER. */
TARVINE_API int32_t tarvine_set_trailer_limits(tarvine_control* control, double weight, double cube,
                                               int32_t cartons);
/* Removes the limits: nothing is asked and "capacity" is null. TARVINE_S_OK or
   TARVINE_E_POINTER. */
TARVINE_API int32_t tarvine_clear_trailer_limits(tarvine_control* control);

/* Writes the load sheet as CSV into the file at `path` (UTF-8): every segment on the load as
   the route service held it at the last read, grouped by center, with subtotals, totals and the
   limits. Changes on screen that are not saved are not on it; its header says how many P.O.s
   that leaves out. TARVINE_S_OK, TARVINE_E_POINTER, or TARVINE_E_UNEXPECTED when no load is
   shown, the load has no segments on it, or the file cannot be written (see
   tarvine_last_error()); no file is written then but for one that cannot be finished. */
TARVINE_API int32_t tarvine_write_load_sheet_csv(tarvine_control* control, const char* path);

/* "Fill trailer": proposes P.O.s of the list to check onto the load, the most hot P.O.s first,
   then the most weight, within every trailer limit (searched for at most 1 s), and keeps the
   proposal for tarvine_apply_fill(). *proposal receives JSON text, to be freed with
   tarvine_free_string(): {"type":"suggestion","orders":[P.O. ids in list order],"hot":N,
   "weight":W,"cube":C,"cartons":K (the trailer's figures after the proposal),"optimal":true when
   proven best,"gap":the proven weight gap as a fraction or null,"quality":"best fill" or "within
   0.3 % of the best fill"}. Nothing changes on screen. TARVINE_S_OK; TARVINE_S_FALSE when
   nothing can be proposed (no limits set, a load over a limit: the JSON has only "type" and
   "error", also in tarvine_last_error()); TARVINE_E_POINTER. */
TARVINE_API int32_t tarvine_suggest_fill(tarvine_control* control, char** proposal);

/* Applies the last proposal: checks each proposed P.O. onto the load through a user's click on
   the check box of its first unchecked row (same totals, marks and messages as by hand); the
   proposal is used up. *added (may be NULL) receives how many P.O.s were checked. TARVINE_S_OK,
   or TARVINE_E_UNEXPECTED with the reason in tarvine_last_error() when there is no proposal,
   when the list, the load or the limits changed since it was made (nothing is checked then), or
   when the list refused a click (the P.O.s before it stay checked). */
TARVINE_API int32_t tarvine_apply_fill(tarvine_control* control, int32_t* added);

#ifdef __cplusplus
}
#endif

#endif /* TARVINE_ORDER_PICK_H */
