#pragma once

/* The mail bridge library osxmapi: a small flat set of C functions over the mail layer, in the
   shape of Simple MAPI, and the parser of the program's own message bodies. Plain C, usable from
   C and C++. Texts are zero-terminated UTF-8. All state is process-wide and the functions are
   called from one thread only.

   The structures, flags and result codes carry the names and values of Simple MAPI, with
   fixed-width types: ULONG and FLAGS are 32 bits wide, a handle (window or session) is as wide
   as a pointer. */

#include <stddef.h>
#include <stdint.h>

#if defined(__GNUC__)
#define OSXMAPI_EXPORT __attribute__((visibility("default")))
#else
#define OSXMAPI_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef uint32_t ULONG;
typedef uint32_t FLAGS;
typedef uintptr_t LHANDLE;
typedef char* LPSTR;
typedef void* LPVOID;

#define lhSessionNull ((LHANDLE)0)

typedef struct {
    ULONG ulReserved;
    ULONG flFlags;
    ULONG nPosition;
    LPSTR lpszPathName;
    LPSTR lpszFileName;
    LPVOID lpFileType;
} MapiFileDesc, *lpMapiFileDesc;

#define MAPI_OLE 0x00000001u
#define MAPI_OLE_STATIC 0x00000002u

typedef struct {
    ULONG ulReserved;
    ULONG ulRecipClass; /* MAPI_ORIG, MAPI_TO, MAPI_CC or MAPI_BCC */
    LPSTR lpszName;
    LPSTR lpszAddress; /* may begin with "SMTP:" */
    ULONG ulEIDSize;
    LPVOID lpEntryID;
} MapiRecipDesc, *lpMapiRecipDesc;

#define MAPI_ORIG 0u
#define MAPI_TO 1u
#define MAPI_CC 2u
#define MAPI_BCC 3u

typedef struct {
    ULONG ulReserved;
    LPSTR lpszSubject;
    LPSTR lpszNoteText;
    LPSTR lpszMessageType;
    LPSTR lpszDateReceived; /* "YYYY/MM/DD HH:MM", local time */
    LPSTR lpszConversationID;
    FLAGS flFlags;
    lpMapiRecipDesc lpOriginator;
    ULONG nRecipCount;
    lpMapiRecipDesc lpRecips;
    ULONG nFileCount;
    lpMapiFileDesc lpFiles;
} MapiMessage, *lpMapiMessage;

/* MapiMessage.flFlags */
#define MAPI_UNREAD 0x00000001u
#define MAPI_RECEIPT_REQUESTED 0x00000002u
#define MAPI_SENT 0x00000004u

/* Logon */
#define MAPI_LOGON_UI 0x00000001u
#define MAPI_NEW_SESSION 0x00000002u
#define MAPI_EXTENDED 0x00000020u
#define MAPI_FORCE_DOWNLOAD 0x00001000u
#define MAPI_PASSWORD_UI 0x00020000u
/* Sending */
#define MAPI_DIALOG 0x00000008u
/* Finding */
#define MAPI_UNREAD_ONLY 0x00000020u
#define MAPI_GUARANTEE_FIFO 0x00000100u
#define MAPI_LONG_MSGID 0x00004000u
/* Reading */
#define MAPI_ENVELOPE_ONLY 0x00000040u
#define MAPI_PEEK 0x00000080u
#define MAPI_BODY_AS_FILE 0x00000200u
#define MAPI_SUPPRESS_ATTACH 0x00000800u

/* Result codes */
#define SUCCESS_SUCCESS 0u
#define MAPI_USER_ABORT 1u
#define MAPI_E_USER_ABORT MAPI_USER_ABORT
#define MAPI_E_FAILURE 2u
#define MAPI_E_LOGON_FAILURE 3u
#define MAPI_E_LOGIN_FAILURE MAPI_E_LOGON_FAILURE
#define MAPI_E_DISK_FULL 4u
#define MAPI_E_INSUFFICIENT_MEMORY 5u
#define MAPI_E_ACCESS_DENIED 6u
#define MAPI_E_TOO_MANY_SESSIONS 8u
#define MAPI_E_TOO_MANY_FILES 9u
#define MAPI_E_TOO_MANY_RECIPIENTS 10u
#define MAPI_E_ATTACHMENT_NOT_FOUND 11u
#define MAPI_E_ATTACHMENT_OPEN_FAILURE 12u
#define MAPI_E_ATTACHMENT_WRITE_FAILURE 13u
#define MAPI_E_UNKNOWN_RECIPIENT 14u
#define MAPI_E_BAD_RECIPTYPE 15u
#define MAPI_E_NO_MESSAGES 16u
#define MAPI_E_INVALID_MESSAGE 17u
#define MAPI_E_TEXT_TOO_LARGE 18u
#define MAPI_E_INVALID_SESSION 19u
#define MAPI_E_TYPE_NOT_SUPPORTED 20u
#define MAPI_E_AMBIGUOUS_RECIPIENT 21u
#define MAPI_E_AMBIG_RECIP MAPI_E_AMBIGUOUS_RECIPIENT
#define MAPI_E_MESSAGE_IN_USE 22u
#define MAPI_E_NETWORK_FAILURE 23u
#define MAPI_E_INVALID_EDITFIELDS 24u
#define MAPI_E_INVALID_RECIPS 25u
#define MAPI_E_NOT_SUPPORTED 26u

/* The longest message identifier, with its terminating zero, that mapiFindNext writes. */
#define OSX_MESSAGE_ID_SIZE 512

/* Message box styles and answers, with the values of the desktop's message boxes. */
#define OSX_MB_OK 0x00000000u
#define OSX_MB_ICONERROR 0x00000010u
#define OSX_MB_ICONWARNING 0x00000030u
#define OSX_MB_ICONINFORMATION 0x00000040u
#define OSX_IDOK 1

/* How the library talks to the user. messageBox shows a text with a caption and answers with
   the button pressed (OSX_IDOK for a box with one button). askPassword, which may be null, asks
   for the password of a profile: it writes the password, zero-terminated, into the `size` bytes
   at `password` and returns 1, or returns 0 when the user gives none. */
typedef struct OSxUserInterface {
    void* context;
    int (*messageBox)(void* context, const char* text, const char* caption, unsigned style);
    int (*askPassword)(void* context, const char* profile, char* password, size_t size);
} OSxUserInterface;

/* Installs the hook, copied; null (or a null messageBox) goes back to writing each box to
   standard error as "caption: text". */
OSXMAPI_EXPORT void osxSetUserInterface(const OSxUserInterface* ui);

/* Reads the mail profiles: 1 on success, 0 when the profile file exists but cannot be read or
   parsed (no box). A profile file that others may write is used after a warning box. */
OSXMAPI_EXPORT int InitMAPI(void);
/* Why the last InitMAPI returned 0, for the user in place of a general failure text: the
   profile file and the line at fault. "" when it succeeded; valid until the next InitMAPI. */
OSXMAPI_EXPORT const char* osxInitFailure(void);
/* Closes the session and forgets the profiles; nonzero. */
OSXMAPI_EXPORT int DeInitMAPI(void);

/* Opens the mailbox of a profile (an empty or null name: the default profile) with the password;
   errors are shown. MAPI_LOGON_UI asks for a password when the one given is empty. */
OSXMAPI_EXPORT ULONG mapiLogon(LHANDLE window, const char* profile, const char* password,
                               FLAGS flags);
/* Up to three attempts, no errors shown: join the session the library holds; log on to the
   profile with the password; ask for a password and log on with it. The code of the last. */
OSXMAPI_EXPORT ULONG mapiLogonEx(LHANDLE window, const char* profile, const char* password,
                                 FLAGS flags);
OSXMAPI_EXPORT ULONG mapiLogoff(LHANDLE window, FLAGS flags);

/* Sends the message from its originator to each of its MAPI_TO recipients. */
OSXMAPI_EXPORT ULONG mapiSendMail(LHANDLE window, const MapiMessage* message, FLAGS flags);
OSXMAPI_EXPORT ULONG mapiSendMailEx(LHANDLE window, FLAGS flags, const char* subject,
                                    const char* noteText, const char* messageType,
                                    const char* senderName, const char* senderAddress,
                                    const char* recipientName, const char* recipientAddress);
/* Opens the desktop's mail composer pre-filled; 0 once it has started. */
OSXMAPI_EXPORT ULONG mapiPresentEmailWithUI(LHANDLE window, const char* address,
                                            const char* subject, const char* noteText);

/* Writes into `messageId` (OSX_MESSAGE_ID_SIZE bytes) the identifier that follows `seed` (the
   first for an empty or null seed) among the mailbox's messages of the type, oldest first;
   MAPI_E_NO_MESSAGES after the last. */
OSXMAPI_EXPORT ULONG mapiFindNext(LHANDLE window, const char* messageType, const char* seed,
                                  FLAGS flags, char* messageId);
/* Reads a message into a block that the caller frees with mapiFreeBuffer. MAPI_PEEK leaves it
   unread. MAPI_ENVELOPE_ONLY reads the top-level header alone (no note text) and leaves the
   message unread; it succeeds also for a message that a whole read refuses as invalid. */
OSXMAPI_EXPORT ULONG mapiReadMail(LHANDLE window, const char* messageId, FLAGS flags,
                                  MapiMessage** message);
OSXMAPI_EXPORT ULONG mapiFreeBuffer(void* buffer);
OSXMAPI_EXPORT ULONG mapiDeleteMail(LHANDLE window, const char* messageId);
/* Nonzero: errors are no longer shown. Returns the flag. */
OSXMAPI_EXPORT int mapiSuppressMessages(int suppress);
/* Why the last logon or send failed, as the mail layer said it ("the server 127.0.0.1 port 143
   refused the user name or password"); "" when it said nothing. Valid until the next call; a
   caller of mapiLogonEx, which shows no error, tells it with its own text. */
OSXMAPI_EXPORT const char* osxFailureCause(void);

/* The message body table: a parse rewrites the buffer in place, and the cells point into it. */
OSXMAPI_EXPORT int msgParseMessage(char* buffer, int columns);
OSXMAPI_EXPORT int msgGetRecordCount(void);
/* "" for any cell the last parse did not fill. */
OSXMAPI_EXPORT const char* msgGetMessageField(int row, int column);
OSXMAPI_EXPORT const char* msgGetResourceName(void);

/* Appends the records of every time-sheet message of the profile's mailbox to the file, then
   deletes the messages written. 1 when done; 2 when every time sheet that could be read was
   collected and those that could not stay in the mailbox, each named in one warning box; 0 on
   failure. */
OSXMAPI_EXPORT int DLLUpdateRemote(const char* file, const char* profile, const char* password);

/* Shows the first 200 slots of the body table, one box each; the last box's answer. */
OSXMAPI_EXPORT int Debug(void);

#ifdef __cplusplus
}
#endif
