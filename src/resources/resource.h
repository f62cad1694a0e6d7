// Identifiers of the library's resources. Read by the resource compiler for
// the Windows build and by tools/StringTable.cmake for the native string
// table, so it holds only plain "#define NAME number" lines and comments.
#pragma once

// Branding: the texts behind the tokens "$APPNAME$", "$SCOMPANY$",
// "$COMPANY$" and "$ORVX$", and what a branding module may change.
#define IDS_APP_TITLE 57344
#define IDS_COMPANY_SHORT 508
#define IDS_COMPANY 509
#define IDS_SUPPORT_PHONE 510
#define IDS_ORVX_NAME 511
#define IDS_SUPPLEMENTAL_LOGIN_LANGUAGE 512
#define IDS_UPDATE_MANIFEST_BASE 513

// Link templates: "offered in|label|URL template". 607 is not used.
#define IDS_LINK_FIRST 601
#define IDS_LINK_SUPPORT_HOME 601
#define IDS_LINK_SUPPORT_CHAT 602
#define IDS_LINK_SUPPORT_REPORTS 603
#define IDS_LINK_TOOLS_SYMBOL_LOOKUP 604
#define IDS_LINK_TOOLS_FX_CHART 605
#define IDS_LINK_TOOLS_RESEARCH 606
#define IDS_LINK_TOOLS_WORLD 608
#define IDS_LINK_TOOLS_MOST_ACTIVES 609
#define IDS_LINK_TOOLS_NEWS 610
#define IDS_LINK_TOOLS_VISION 611
#define IDS_LINK_HELP_CHAT 612
#define IDS_LINK_HELP_SYMBOL_LOOKUP 613
#define IDS_LINK_HELP_CONTACT 614
#define IDS_LINK_HELP_SERVICE 615
#define IDS_LINK_HELP_BUG_REPORT 616
#define IDS_LINK_HELP_HELP 617
#define IDS_LINK_VIEW_SYMBOL_INFO 618
#define IDS_LINK_VIEW_RESEARCH 619
#define IDS_LINK_VIEW_YAHOO 620
#define IDS_LINK_LAST 620

// The partner identifier sent to the research service.
#define IDS_RESEARCH_PARTNER 710

// The REST API component's notice after its settings change.
#define IDS_RESTAPI_RESTART_NOTICE 720

// The update behaviours, in the order of their values 0 to 3.
#define IDS_UPDATE_BEHAVIOR_PROMPT_ALL 41000
#define IDS_UPDATE_BEHAVIOR_PROMPT_REQUIRED 41001
#define IDS_UPDATE_BEHAVIOR_DOWNLOAD_ALL 41002
#define IDS_UPDATE_BEHAVIOR_NEVER 41003

// The LED indicator's image strip: 48 x 128 pixels of 16 x 16 lamps.
#define IDB_LED 213

// The toolbar images: four 16 x 15 cells (split into columns, split into
// rows, lock, refresh), magenta transparent.
#define IDB_ORV_TOOLBAR 214

// The update manager's dialogs: the offer of an update and the download's
// progress, their controls and the offer's picture.
#define IDD_AUTOUPDATE_BEGIN 12024
#define IDD_AUTOUPDATE_STATUS 12025
#define IDB_AUTOUPDATE 12027
#define IDC_AUTOUPDATE_PROGRESS 12000
#define IDC_AUTOUPDATE_YES 12006
#define IDC_AUTOUPDATE_NO 12008
#define IDC_AUTOUPDATE_TITLE 12010
#define IDC_AUTOUPDATE_MESSAGE 12011
#define IDC_AUTOUPDATE_MOREINFO 12012
#define IDC_AUTOUPDATE_PICTURE 12013
#define IDC_AUTOUPDATE_STATUS 12014
#define IDC_AUTOUPDATE_BEHAVIOR 12021
#define IDC_AUTOUPDATE_BEHAVIOR_LABEL 12022

// The REST API settings dialog (CConfigAPIDlg).
#define IDD_CONFIG_API 12026
#define IDC_CONFIGAPI_DEFAULTS 12015
#define IDC_CONFIGAPI_DEFAULT_INTERFACE 12017
#define IDC_CONFIGAPI_DEFAULT_PORT 12018
#define IDC_CONFIGAPI_DEFAULT_SERVICE 12019
#define IDC_CONFIGAPI_DEFAULT_CLIENTS 12020
#define IDC_CONFIGAPI_INTERFACE 12028
#define IDC_CONFIGAPI_CLIENT_IP 12029
#define IDC_CONFIGAPI_PORT 12030
#define IDC_CONFIGAPI_CLIENT_DNS 12031
#define IDC_CONFIGAPI_SERVICE 12032
#define IDC_CONFIGAPI_ADD_IP 12033
#define IDC_CONFIGAPI_ADD_DNS 12034
#define IDC_CONFIGAPI_REMOVE 12035
#define IDC_CONFIGAPI_ENABLE 12036
#define IDC_CONFIGAPI_CLIENTS 12037
