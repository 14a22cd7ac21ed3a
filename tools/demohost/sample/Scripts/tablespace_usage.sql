-- Space used and free per tablespace, in megabytes.
select df.tablespace_name,
       round(df.bytes / 1024 / 1024) as size_mb,
       round((df.bytes - nvl(fs.bytes, 0)) / 1024 / 1024) as used_mb,
       round(nvl(fs.bytes, 0) / 1024 / 1024) as free_mb
  from (select tablespace_name, sum(bytes) bytes from dba_data_files group by tablespace_name) df
  left join (select tablespace_name, sum(bytes) bytes from dba_free_space group by tablespace_name) fs
    on fs.tablespace_name = df.tablespace_name
 order by df.tablespace_name;
