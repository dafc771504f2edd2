-- The program's tables on a PostgreSQL server. Every step below a "--- version N" line takes a database from
-- version N-1 to N; the program runs the steps a database lacks, each with its version, in one transaction, and
-- refuses a database whose version is newer than the last step here.

--- version 1
CREATE TABLE schema_version (
    version integer NOT NULL
);
INSERT INTO schema_version (version) VALUES (0);

-- Dates and stamps are kept as the exact 8-byte numbers of the record (days since 30 December 1899, the time as
-- the fraction), since a record's identity compares its creation stamp to the bit and a date may carry bits below
-- the microsecond; beside each, a generated column gives the server's own date or timestamp for queries and
-- reports. 0 is the empty date, and a number outside the calendar's range has no date.
CREATE FUNCTION vardel_timestamp(days double precision) RETURNS timestamp
    LANGUAGE sql IMMUTABLE PARALLEL SAFE
    RETURN CASE WHEN days <> 0 AND days > -657435 AND days < 2958466
        THEN timestamp '1899-12-30' + trunc(days) * interval '1 day' + abs(days - trunc(days)) * interval '1 day' END;

CREATE TABLE employee (
    key integer GENERATED ALWAYS AS IDENTITY PRIMARY KEY,
    version bigint NOT NULL DEFAULT 1,
    record_created double precision NOT NULL,
    record_created_at timestamp GENERATED ALWAYS AS (vardel_timestamp(record_created)) STORED,
    last_modified double precision NOT NULL,
    last_modified_at timestamp GENERATED ALWAYS AS (vardel_timestamp(last_modified)) STORED,
    first_name text NOT NULL CHECK (char_length(first_name) <= 15),
    middle_name text NOT NULL CHECK (char_length(middle_name) <= 15),
    last_name text NOT NULL CHECK (char_length(last_name) <= 20),
    suffix text NOT NULL CHECK (char_length(suffix) <= 3),
    emergency_name text NOT NULL CHECK (char_length(emergency_name) <= 25),
    emergency_relationship text NOT NULL CHECK (char_length(emergency_relationship) <= 15),
    emergency_phone text NOT NULL CHECK (char_length(emergency_phone) <= 20),
    street_address text NOT NULL CHECK (char_length(street_address) <= 50),
    city_state_zip text NOT NULL CHECK (char_length(city_state_zip) <= 50),
    home_phone text NOT NULL CHECK (char_length(home_phone) <= 20),
    cell_phone text NOT NULL CHECK (char_length(cell_phone) <= 20),
    race text NOT NULL CHECK (char_length(race) <= 1),
    sex text NOT NULL CHECK (char_length(sex) <= 1),
    social_security_number text NOT NULL CHECK (char_length(social_security_number) <= 11),
    date_of_birth double precision NOT NULL,
    birth_date date GENERATED ALWAYS AS (vardel_timestamp(date_of_birth)::date) STORED,
    date_of_employment double precision NOT NULL,
    employment_date date GENERATED ALWAYS AS (vardel_timestamp(date_of_employment)::date) STORED,
    date_of_job_title double precision NOT NULL,
    job_title_date date GENERATED ALWAYS AS (vardel_timestamp(date_of_job_title)::date) STORED,
    inactivation_date double precision NOT NULL,
    inactivated_on date GENERATED ALWAYS AS (vardel_timestamp(inactivation_date)::date) STORED,
    employee_number text NOT NULL CHECK (char_length(employee_number) <= 15),
    job_title text NOT NULL CHECK (char_length(job_title) <= 25),
    notepad text NOT NULL CHECK (char_length(notepad) <= 4517),
    sworn smallint NOT NULL,
    email text NOT NULL CHECK (char_length(email) <= 25),
    picture_path text NOT NULL CHECK (char_length(picture_path) <= 100),
    data_version smallint NOT NULL
);
CREATE INDEX employee_record_created ON employee (record_created);

-- The user list in its order; the password scrambled as the list stores it.
CREATE TABLE app_user (
    position integer PRIMARY KEY DEFERRABLE INITIALLY DEFERRED CHECK (position >= 1),
    date_created double precision NOT NULL,
    created_at timestamp GENERATED ALWAYS AS (vardel_timestamp(date_created)) STORED,
    first_name text NOT NULL CHECK (char_length(first_name) <= 15),
    last_name text NOT NULL CHECK (char_length(last_name) <= 20),
    password text NOT NULL CHECK (char_length(password) <= 16),
    access_level smallint NOT NULL,
    comments text NOT NULL CHECK (char_length(comments) <= 439)
);

-- The user log's lines as the file holds them, line end included.
CREATE TABLE user_log (
    line_number bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY,
    line bytea NOT NULL
);

-- The change history: each line's text and its hash, chained as in the file. The identity and employee are
-- copies of the line's fields, for finding a record's latest change.
CREATE TABLE change_history (
    line_number bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY,
    text bytea NOT NULL,
    hash text NOT NULL CHECK (hash ~ '^[0-9a-f]{64}$'),
    identity text,
    employee text
);
CREATE INDEX change_history_identity ON change_history (identity);

--- version 2
-- The identity a removed employee had, so that a desk whose save or removal comes after can be told who removed
-- him or her and when.
CREATE TABLE removed_employee (
    key integer PRIMARY KEY,
    identity text NOT NULL
);
