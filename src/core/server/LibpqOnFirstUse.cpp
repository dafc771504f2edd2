// The functions of libpq that the server store calls, defined here to open the library at the first call rather
// than link it: libpq brings TLS, Kerberos and LDAP libraries with it, whose loading would cost every start of
// the program (and every vardel-data command) that works in a folder and never talks to a server. Each function
// hands its call to libpq's own, found once.

#include "core/base/SharedLibrary.h"

#include <QtGlobal>

#include <libpq-fe.h>

namespace {

SharedLibrary& library() {
    static SharedLibrary libpq(VARDEL_LIBPQ_LIBRARY);
    return libpq;
}

// libpq's own function of that name; nullptr when the library cannot be loaded.
template <typename Function> Function own(const char* name) {
    return library().resolve<Function>(name);
}

// A function that only a working connection reaches, so the library is there.
template <typename Function> Function needed(const char* name) {
    const Function function = own<Function>(name);
    if (!function)
        qFatal("%s: %s cannot be loaded", VARDEL_LIBPQ_LIBRARY, name);
    return function;
}

const char* const kNotLoaded = "the PostgreSQL client library " VARDEL_LIBPQ_LIBRARY " cannot be loaded\n";

} // namespace

#define VARDEL_LIBPQ(name) static const auto function = needed<decltype(&::name)>(#name)

extern "C" {

// Connecting is where a missing library shows: no connection, and a message that says why.
PGconn* PQconnectdb(const char* conninfo) {
    static const auto function = own<decltype(&::PQconnectdb)>("PQconnectdb");
    return function ? function(conninfo) : nullptr;
}

ConnStatusType PQstatus(const PGconn* conn) {
    if (!conn)
        return CONNECTION_BAD;
    VARDEL_LIBPQ(PQstatus);
    return function(conn);
}

char* PQerrorMessage(const PGconn* conn) {
    if (!conn && !library().load())
        return const_cast<char*>(kNotLoaded);
    VARDEL_LIBPQ(PQerrorMessage);
    return function(conn);
}

void PQfinish(PGconn* conn) {
    if (!conn)
        return;
    VARDEL_LIBPQ(PQfinish);
    function(conn);
}

PQconninfoOption* PQconninfoParse(const char* conninfo, char** errmsg) {
    static const auto function = own<decltype(&::PQconninfoParse)>("PQconninfoParse");
    if (!function) {
        if (errmsg)
            *errmsg = nullptr;
        return nullptr;
    }
    return function(conninfo, errmsg);
}

void PQconninfoFree(PQconninfoOption* connOptions) {
    if (!connOptions)
        return;
    VARDEL_LIBPQ(PQconninfoFree);
    function(connOptions);
}

ExecStatusType PQresultStatus(const PGresult* res) {
    VARDEL_LIBPQ(PQresultStatus);
    return function(res);
}

void PQclear(PGresult* res) {
    if (!res)
        return;
    VARDEL_LIBPQ(PQclear);
    function(res);
}

int PQgetlength(const PGresult* res, int tup_num, int field_num) {
    VARDEL_LIBPQ(PQgetlength);
    return function(res, tup_num, field_num);
}

char* PQuser(const PGconn* conn) {
    VARDEL_LIBPQ(PQuser);
    return function(conn);
}

int PQsetSingleRowMode(PGconn* conn) {
    VARDEL_LIBPQ(PQsetSingleRowMode);
    return function(conn);
}

int PQsetClientEncoding(PGconn* conn, const char* encoding) {
    VARDEL_LIBPQ(PQsetClientEncoding);
    return function(conn, encoding);
}

int PQsendQueryParams(PGconn* conn, const char* command, int nParams, const Oid* paramTypes,
                      const char* const* paramValues, const int* paramLengths, const int* paramFormats,
                      int resultFormat) {
    VARDEL_LIBPQ(PQsendQueryParams);
    return function(conn, command, nParams, paramTypes, paramValues, paramLengths, paramFormats, resultFormat);
}

char* PQresultErrorMessage(const PGresult* res) {
    VARDEL_LIBPQ(PQresultErrorMessage);
    return function(res);
}

char* PQresultErrorField(const PGresult* res, int fieldcode) {
    VARDEL_LIBPQ(PQresultErrorField);
    return function(res, fieldcode);
}

char* PQport(const PGconn* conn) {
    VARDEL_LIBPQ(PQport);
    return function(conn);
}

int PQntuples(const PGresult* res) {
    VARDEL_LIBPQ(PQntuples);
    return function(res);
}

char* PQhost(const PGconn* conn) {
    VARDEL_LIBPQ(PQhost);
    return function(conn);
}

char* PQgetvalue(const PGresult* res, int tup_num, int field_num) {
    VARDEL_LIBPQ(PQgetvalue);
    return function(res, tup_num, field_num);
}

int PQgetisnull(const PGresult* res, int tup_num, int field_num) {
    VARDEL_LIBPQ(PQgetisnull);
    return function(res, tup_num, field_num);
}

PGresult* PQgetResult(PGconn* conn) {
    VARDEL_LIBPQ(PQgetResult);
    return function(conn);
}

PGresult* PQexecParams(PGconn* conn, const char* command, int nParams, const Oid* paramTypes,
                       const char* const* paramValues, const int* paramLengths, const int* paramFormats,
                       int resultFormat) {
    VARDEL_LIBPQ(PQexecParams);
    return function(conn, command, nParams, paramTypes, paramValues, paramLengths, paramFormats, resultFormat);
}

PGresult* PQexec(PGconn* conn, const char* query) {
    VARDEL_LIBPQ(PQexec);
    return function(conn, query);
}

char* PQdb(const PGconn* conn) {
    VARDEL_LIBPQ(PQdb);
    return function(conn);
}

char* PQcmdTuples(PGresult* res) {
    VARDEL_LIBPQ(PQcmdTuples);
    return function(res);
}

int PQbackendPID(const PGconn* conn) {
    VARDEL_LIBPQ(PQbackendPID);
    return function(conn);
}
}
