/* SPDX-License-Identifier: LGPL-2.1-or-later */
/* SPDX-FileCopyrightText: kxsimlib contributors */
/* Help context numbers of the Kestrix SIM Lib dialogs. The dialogs open their
   topic by these numbers; hosts pass IDH_NETWORK_LIST as HelpId to SelectNetwork. */
#define IDH_CALL_METER 7105
#define IDH_CLONE_OPTIONS 7108
#define IDH_SHORT_MESSAGE 7111
#define IDH_NETWORK_LIST 7120
#define IDH_CARD_READER 8030
#define IDH_MAGNETIC_STRIPE 8040
#define IDH_CONVERTER 8100
